#include "rig/band_plan_chart.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "platform/colors.h"
#include "platform/dialogs.h"
#include "platform/modal.h"
#include "platform/twips.h"
#include "program/program.h"
#include "setup/resize.h"

namespace rig {

namespace {

constexpr float kClientWidth = 9480;
constexpr float kClientHeight = 6690;
constexpr int kMaxRows = 200;
constexpr std::size_t kMaxBars = 20;

const QColor kNavy(0, 0, 128);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);

void Bordered(QLabel* label) {
    label->setFrameShape(QFrame::Box);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignCenter);
}

float FontFactor(double screenWidth) {
    return std::min(static_cast<float>(screenWidth / setup::kDesignScreenWidth), 1.5f);
}

}  // namespace

QString FormatChartMHz(float mhz) {
    const double value = std::round(static_cast<double>(mhz) * 1000.0) / 1000.0;
    const bool negative = value < 0;
    const long long thousandths = std::llround(std::fabs(value) * 1000.0);
    const long long whole = thousandths / 1000;
    QString digits = whole == 0 ? QString() : QString::number(whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, ',');
    return (negative ? QStringLiteral("-") : QString()) + digits + '.' +
           QStringLiteral("%1").arg(thousandths % 1000, 3, 10, QChar('0'));
}

frmBandPlan::frmBandPlan(Program& program, std::optional<QSizeF> workArea,
                         std::optional<double> screenWidth)
    : program_(program) {
    setWindowTitle(QStringLiteral("Frequency Privileges"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    SetDesignClientSize(kClientWidth, kClientHeight);

    Command1 = AddCommandButton("Command1", "Novice", 120, 80, 855, 300);
    Command2 = AddCommandButton("Command2", "Technician", 1080, 80, 975, 300);
    Command3 = AddCommandButton("Command3", "Tech +", 2160, 80, 975, 300);
    Command4 = AddCommandButton("Command4", "General", 3240, 80, 1095, 300);
    Command5 = AddCommandButton("Command5", "Advanced", 4440, 80, 975, 300);
    Command6 = AddCommandButton("Command6", "Extra", 5520, 80, 975, 300);
    Command7 = AddCommandButton("Command7", "Done", 4080, 6360, 1215, 300);

    Label1 = AddLabel("Label1", "Frequencies Effective", 120, 400, 6375, 300);
    SetFont(Label1, {.Name = QStringLiteral("Arial"), .Size = 9});
    Label2 = AddLabel("Label2", "Privelages", 6600, 120, 2775, 255);
    SetFont(Label2, {.Name = QStringLiteral("Arial Narrow"), .Size = 8.25f});
    for (QLabel* title : {Label1, Label2}) {
        Bordered(title);
        platform::SetBackColor(title, kNavy);
        platform::SetForeColor(title, Qt::white);
    }
    Label3 = AddLabel("Label3", "CW", 6600, 420, 1335, 255);
    Bordered(Label3);
    platform::SetForeColor(Label3, Qt::white);
    Label4 = AddLabel("Label4", "Phone", 8040, 420, 1335, 255);
    Bordered(Label4);
    platform::SetForeColor(Label4, Qt::black);
    Line1 = AddLine("Line1", 120, 720, 9360, 720);

    classButton(Command1, QStringLiteral("Novice Frequency Privileges"), QStringLiteral("N"));
    classButton(Command2, QStringLiteral("Technician Frequency Privileges"), QStringLiteral("T"));
    classButton(Command3, QStringLiteral("Technician Plus Frequency Privileges"), QStringLiteral("P"));
    classButton(Command4, QStringLiteral("General Frequency Privileges"), QStringLiteral("G"));
    classButton(Command5, QStringLiteral("Advanced Frequency Privileges"), QStringLiteral("A"));
    classButton(Command6, QStringLiteral("Extra Frequency Privileges"), QStringLiteral("E"));
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });

    Form_Load(workArea ? *workArea : platform::WorkAreaTwips(),
              screenWidth ? *screenWidth : platform::ScreenSizeTwips().width());
}

frmBandPlan::~frmBandPlan() = default;

void frmBandPlan::classButton(QPushButton* button, const QString& title, const QString& cls) {
    connect(button, &QPushButton::clicked, this, [this, title, cls] {
        Label2->setText(title);
        ShowPrivileges(cls);
    });
}

void frmBandPlan::Form_Load(QSizeF workArea, double screenWidth) {
    screenWidth_ = screenWidth;
    // The window fills the desktop work area; its controls stretch with it.
    const double oldWidth = Width;
    const double oldHeight = Height;
    Width = static_cast<float>(workArea.width());
    Height = static_cast<float>(workArea.height());
    Left = 0;
    Top = 0;
    setup::ScaleControls(*this, {.x = Width / oldWidth,
                                 .y = Height / oldHeight,
                                 .font = FontFactor(screenWidth),
                                 .keepComboHeight = true,
                                 .fontName = {}});
    setFixedSize(size());

    platform::SetBackColor(Label4, kGreen);
    platform::SetBackColor(Label3, kBlue);

    const std::optional<BandPlanFile> file =
        ReadBandPlanFile(program_.WorkPath(QStringLiteral("BandPlan.txt")));
    // The date is read before the rows: a file of too many rows still
    // shows it.
    if (file) Label1->setText(QStringLiteral("Frequencies Effective: ") + file->effectiveDate);
    if (!file || file->rows.size() > static_cast<std::size_t>(kMaxRows)) {
        program_.dialogs().MsgBox(QStringLiteral("Band data not available."), platform::vbOKOnly,
                                  QStringLiteral("Band Data Not Available."));
        return;
    }
    chartPlan_ = file->rows;
    Label2->setText(QStringLiteral("Extra Frequency Privileges"));
    ShowPrivileges(QStringLiteral("E"));
}

QLabel* frmBandPlan::addChartLabel(const QString& name, const QString& caption, float left,
                                   float top, float width, float height) {
    QLabel* label = AddLabel(name, caption, left, top, width, height);
    Bordered(label);
    label->show();
    return label;
}

void frmBandPlan::ShowPrivileges(const QString& cls) {
    const float f = FontFactor(screenWidth_);
    const float W = Width;
    const float H = Height;

    for (const char* prefix : {"blbl", "priv", "bnlb"}) RemoveControlsNamed(QLatin1String(prefix));

    // Bars: a band whose outline row is followed, before the next band, by a
    // row of the class.
    int n = 0;
    for (std::size_t i = 0; i < chartPlan_.size(); ++i) {
        const BandPlanRow& outline = chartPlan_[i];
        if (outline.licenceClass != u"O") continue;
        bool drawn = false;
        for (std::size_t j = i + 1; j < chartPlan_.size() && chartPlan_[j].band == outline.band; ++j)
            if (chartPlan_[j].licenceClass == cls) drawn = true;
        if (!drawn) continue;
        ++n;
        // The band's name, black on black, could never be read on the bar:
        // it is the bar's accessible name and the name box shows it.
        QLabel* bar = addChartLabel(QStringLiteral("blbl%1").arg(n), QString(), 0.1f * W, 0,
                                    0.85f * W, 0.04f * H);
        bar->setAccessibleName(outline.band);
        platform::SetBackColor(bar, Qt::black);
        platform::SetForeColor(bar, Qt::black);
        bar->setToolTip(outline.band + "  " + FormatChartMHz(outline.lower) + " - " +
                        FormatChartMHz(outline.upper));
    }

    struct Bar {
        platform::Control* control;
        QString caption;
        float lower = 0, upper = 0;
    };
    std::vector<Bar> bars;
    for (platform::Control& control : Controls()) {
        if (!control.Name.startsWith(QLatin1String("blbl")) || bars.size() >= kMaxBars) continue;
        Bar bar{&control, control.Widget->accessibleName()};
        const auto first = std::find_if(chartPlan_.begin(), chartPlan_.end(),
                                        [&](const BandPlanRow& r) { return r.band == bar.caption; });
        bar.lower = first->lower;
        bar.upper = first->upper;
        bars.push_back(bar);
    }
    // A class without a band has nothing to space out.
    if (bars.empty()) return;

    const float lineTop = Ctl(Line1).Y1;
    const float spacing = 0.8f * (H - lineTop) / static_cast<float>(bars.size());
    for (std::size_t j = 0; j < bars.size(); ++j) {
        platform::Control& c = *bars[j].control;
        Move(c.Widget, c.Left, lineTop + static_cast<float>(j + 1) * spacing, c.Width, c.Height);
    }

    for (std::size_t j = 0; j < bars.size(); ++j) {
        const platform::Control& bar = *bars[j].control;
        QLabel* name = addChartLabel(QStringLiteral("bnlb%1").arg(j + 1), bars[j].caption,
                                     0.04f * W, bar.Top, 0.05f * W, bar.Height);
        name->setToolTip(bar.Widget->toolTip());
        platform::SetBackColor(name, kYellow);
        platform::SetForeColor(name, Qt::black);
        SetFont(name, {.Name = QStringLiteral("ARIAL"), .Size = 8 * f, .Bold = true});
    }

    int segment = 0;
    // The segments of each bar, laid out once every segment is drawn.
    std::vector<std::vector<QLabel*>> onBar(bars.size());
    for (const BandPlanRow& row : chartPlan_) {
        if (row.licenceClass != cls) continue;
        for (std::size_t j = 0; j < bars.size(); ++j) {
            const Bar& bar = bars[j];
            if (bar.caption != row.band) continue;
            // A band of no width cannot be drawn to scale: the chart ends here.
            if (bar.upper == bar.lower) return;
            const platform::Control& c = *bar.control;
            const float span = bar.upper - bar.lower;
            const QString caption = FormatChartMHz(row.lower) + " - " + FormatChartMHz(row.upper);
            QLabel* label = addChartLabel(
                QStringLiteral("priv%1").arg(++segment), caption,
                c.Left + c.Width * (row.lower - bar.lower) / span, c.Top,
                c.Width * (row.upper - row.lower) / span, c.Height);
            const bool cw = row.mode == u"CW";
            label->setToolTip((cw ? QStringLiteral("CW  ") : QStringLiteral("PH  ")) + caption);
            platform::SetBackColor(label, cw ? kBlue : kGreen);
            platform::SetForeColor(label, cw ? Qt::white : Qt::black);
            // The limits at the default small size, as the name boxes.
            SetFont(label, {.Name = QStringLiteral("ARIAL NARROW"), .Size = 8 * f});
            label->raise();
            onBar[j].push_back(label);
        }
    }
    for (std::size_t j = 0; j < bars.size(); ++j) layOutSegments(*bars[j].control, onBar[j]);
}

void frmBandPlan::layOutSegments(const platform::Control& bar, std::vector<QLabel*> segments) {
    // A segment too narrow for its limits (a few kilohertz of a band of
    // megahertz) grows from its place to their width, and the segments
    // beside it give way: every limit can be read and no segment hides
    // another; each keeps its colour, and all stay on their bar.
    std::sort(segments.begin(), segments.end(),
              [this](QLabel* a, QLabel* b) { return Ctl(a).Left < Ctl(b).Left; });
    struct Span {
        float left, right;
    };
    std::vector<Span> spans;
    std::vector<float> needs;
    float cursor = bar.Left;
    for (QLabel* label : segments) {
        const platform::Control& box = Ctl(label);
        const float need = std::min(
            bar.Width, static_cast<float>(platform::PixelsToTwips(
                           QFontMetrics(label->font()).horizontalAdvance(label->text() + "  "))));
        const float left = std::max(box.Left, cursor);
        const float right = std::max(box.Left + box.Width, left + need);
        spans.push_back({left, right});
        needs.push_back(need);
        cursor = right;
    }
    float limit = bar.Left + bar.Width;
    for (std::size_t k = spans.size(); k-- > 0;) {
        Span& s = spans[k];
        s.right = std::min(s.right, limit);
        s.left = std::max(bar.Left, std::min(s.left, s.right - needs[k]));
        limit = s.left;
    }
    const QRect barRect = bar.Widget->geometry();
    for (std::size_t k = 0; k < segments.size(); ++k) {
        QLabel* label = segments[k];
        Move(label, spans[k].left, bar.Top, spans[k].right - spans[k].left, bar.Height);
        // Whole pixels: the segment ends where its bar does.
        label->setGeometry(label->geometry() & barRect);
    }
}

void frmBandPlan::Command7_Click() { hide(); }

void frmBandPlan::closeEvent(QCloseEvent* event) {
    // The close box ends the modal showing as "Done" does.
    event->ignore();
    Command7_Click();
}

void ShowPrivilegesChart(Program& program) {
    frmBandPlan chart(program);
    platform::ShowModal(chart);
}

}  // namespace rig
