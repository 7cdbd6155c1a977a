#include "entry/county_list.h"

#include <QLineEdit>
#include <QTreeWidget>

#include "logstore/county_table.h"
#include "platform/modal.h"
#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "setup/resize.h"
#include "setup/station_id.h"

namespace entry {

frmCountyList::frmCountyList(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral("County List"));
    // A pick is made or the list is closed; neither ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    SetDesignClientSize(3150, 6105);
    ListView1 = AddListView(QStringLiteral("ListView1"), 120, 120, 2915, 5895);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1_Click(); });
}

frmCountyList::~frmCountyList() = default;

void frmCountyList::Form_Load() { Form_Load(platform::ScreenSizeTwips()); }

void frmCountyList::Form_Load(QSizeF screenTwips) {
    // Sized with the screen, centred across it and high on it: a sixth of
    // the free height above the window.
    setup::ScaleToArea(*this, screenTwips, screenTwips.width(), 6);
    const float columnWidth =
        static_cast<float>(1300 * screenTwips.width() / setup::kDesignScreenWidth);
    AddColumnHeader(ListView1, QStringLiteral("County"), columnWidth);
    AddColumnHeader(ListView1, QStringLiteral("Abbreviation"), columnWidth);
    const logstore::CountyTable& counties = program_.counties;
    for (int i = 1; i <= counties.CountyCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        new QTreeWidgetItem(ListView1, {counties.CountyNames[row], counties.CountyAbbrevs[row]});
    }
}

void frmCountyList::ListView1_Click() {
    const QTreeWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected()) return;
    const QString name = item->text(0);
    const QString abbreviation = item->text(1);
    switch (program_.station.StationSide) {
    case 0:
    case 1:
        // The county box of the main window of that side, when it is open.
        program_.form1().SetCountyText(name);
        break;
    case 2:
        if (program_.FrmStationIDLoaded())
            program_.frmStationID().Text8->setText(abbreviation.toUpper());
        break;
    default:
        break;
    }
    hide();
}

void ShowCountyList(Program& program) {
    frmCountyList& list = program.frmCountyList();
    list.Form_Load();
    platform::ShowModal(list);
    program.UnloadFrmCountyList();
}

}  // namespace entry
