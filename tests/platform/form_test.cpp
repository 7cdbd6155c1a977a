// The design-geometry model of a window: registering controls, lookups, and
// the widgets following the twips numbers.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <stdexcept>

#include "platform/colors.h"
#include "platform/form.h"

using platform::Control;
using platform::ControlKind;
using platform::Form;

TEST(Form, ControlsKeepTheirOrderNamesAndTheWindowsFontAtCreation) {
    Form form;
    form.Font = {.Name = "Arial", .Size = 9, .Bold = true};
    QLabel* label = form.AddLabel("lblDialog", "Ready", 120, 120, 3000, 255);
    form.Font.Size = 12;  // later controls take the font as it is then
    QPushButton* button = form.AddCommandButton("cmdLogOn", "&Log", 120, 480, 1500, 375);
    form.AddTimer("Timer2", 1000);

    ASSERT_EQ(form.Controls().size(), 3u);
    EXPECT_EQ(form.Controls()[0].Name, "lblDialog");
    EXPECT_EQ(form.Controls()[1].Kind, ControlKind::CommandButton);
    EXPECT_EQ(form.Controls()[2].Kind, ControlKind::Timer);
    EXPECT_EQ(&form.Ctl(button), &form.Controls()[1]);
    EXPECT_EQ(form.Find("Timer2"), &form.Controls()[2]);
    EXPECT_EQ(form.Find("Timer9"), nullptr);
    EXPECT_THROW(form.Ctl(&form), std::out_of_range);
    EXPECT_EQ(button->objectName(), "cmdLogOn");

    EXPECT_FLOAT_EQ(form.Ctl(label).Font.Size, 9);
    EXPECT_FLOAT_EQ(form.Ctl(button).Font.Size, 12);
    EXPECT_EQ(label->font().family(), "Liberation Sans");
    EXPECT_TRUE(label->font().bold());
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 9.0);
    EXPECT_EQ(label->text(), "Ready");
    EXPECT_EQ(button->text(), "&Log");
}

// The window's own font does not reach controls: each keeps its own.
TEST(Form, WindowFontChangesLeaveControlFontsAlone) {
    Form form;
    QLabel* label = form.AddLabel("Label1", "Call", 0, 0, 1000, 255);
    form.Font.Size = 20;
    form.Font.Name = "Courier New";
    form.Apply();
    EXPECT_DOUBLE_EQ(form.font().pointSizeF(), 20.0);
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 8.25);
    EXPECT_EQ(label->font().family(), "Liberation Sans");
}

// The numbers stay exact; pixels are derived from them each time, so moving a
// control back and forth never drifts.
TEST(Form, PixelsFollowTheTwipsModel) {
    Form form;
    form.SetDesignClientSize(7725, 6000);
    EXPECT_FLOAT_EQ(form.Width, 7845);
    EXPECT_FLOAT_EQ(form.Height, 6405);
    EXPECT_EQ(form.size(), QSize(515, 400));

    QLabel* label = form.AddLabel("Label1", "Call", 100, 100, 1010, 250);
    EXPECT_EQ(label->geometry(), QRect(7, 7, 67, 17));
    for (int i = 0; i < 10; ++i) {
        form.Move(label, 107, 107, 1017, 257);
        form.Move(label, 100, 100, 1010, 250);
    }
    EXPECT_EQ(label->geometry(), QRect(7, 7, 67, 17));

    form.SetFont(label, {.Name = "Arial", .Size = 9.75f, .Bold = true});
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 9.75);
    EXPECT_TRUE(label->font().bold());
}

// A view over a model gets its column widths when the model's columns arrive,
// and no column stretches to fill the view.
TEST(Form, ModelListViewGetsItsColumnWidthsWhenColumnsArrive) {
    Form form;
    auto* view = form.AddListViewOf<QTableView>("ListView1", 0, 0, 6000, 3000);
    form.SetColumnWidths(view, {530, 850, 910});
    EXPECT_EQ(form.Ctl(view).Kind, ControlKind::ListView);

    QStandardItemModel model(0, 3);
    view->setModel(&model);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(0), 35);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(1), 57);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(2), 61);
    EXPECT_FALSE(view->horizontalHeader()->stretchLastSection());
    view->setModel(nullptr);
}

TEST(Form, LineDrawsBetweenItsEndPoints) {
    Form form;
    form.SetDesignClientSize(3000, 3000);
    auto* line = form.AddLine("Line1", 150, 1500, 1500, 150);  // rising diagonal
    EXPECT_EQ(line->geometry(), QRect(10, 10, 91, 91));
    EXPECT_EQ(line->line(), QLine(10, 100, 100, 10));
    EXPECT_TRUE(line->testAttribute(Qt::WA_TransparentForMouseEvents));

    const QImage drawn = line->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(0, 90), QColor(Qt::black));
    EXPECT_EQ(drawn.pixelColor(90, 0), QColor(Qt::black));
    EXPECT_EQ(drawn.pixelColor(45, 45), QColor(Qt::black));
    EXPECT_NE(drawn.pixelColor(0, 0), QColor(Qt::black));
}

// Labels, images and lines are drawn on their container, beneath its buttons,
// boxes and lists, whatever order they were made in and whatever code raises
// them; among themselves the later one lies on top.
TEST(Form, GraphicalControlsLieBeneathWindowedOnes) {
    Form form;
    form.SetDesignClientSize(6000, 3000);
    QPushButton* button = form.AddCommandButton("cmdList", "Last 20", 600, 600, 990, 540);
    QGroupBox* frame = form.AddFrame("Frame1", "Power", 3000, 0, 2400, 2400);
    QLabel* inFrame = form.AddLabel("Label2", "", 0, 0, 2400, 2400, frame);
    QRadioButton* option = form.AddOptionButton("Option1", "High", 300, 300, 1500, 300, frame);
    QLabel* label = form.AddLabel("lblDupe", "", 0, 0, 6000, 3000);  // made last, over all
    platform::SetBackColor(label, Qt::red);
    platform::SetBackColor(inFrame, Qt::blue);
    QLabel* later = form.AddLabel("Label3", "", 0, 0, 300, 300);
    platform::SetBackColor(later, Qt::green);
    auto* line = form.AddLine("Line1", 0, 2850, 6000, 2850);
    form.show();

    const QPoint buttonMiddle = button->geometry().center();
    EXPECT_EQ(form.childAt(buttonMiddle), button);
    EXPECT_EQ(frame->childAt(option->geometry().center()), option);
    QWidget* overFrame = form.childAt(frame->geometry().center());
    EXPECT_TRUE(overFrame == frame || frame->isAncestorOf(overFrame));
    EXPECT_EQ(form.childAt(QPoint(5, 5)), later);
    const auto below = [&form](QWidget* lower, QWidget* upper) {
        return form.children().indexOf(lower) < form.children().indexOf(upper);
    };
    EXPECT_TRUE(below(line, button));
    EXPECT_TRUE(below(later, line));
    // What the operator sees: the button's face, not the label's red.
    EXPECT_NE(form.grab().toImage().pixelColor(buttonMiddle), QColor(Qt::red));

    label->raise();
    line->raise();
    EXPECT_EQ(form.childAt(buttonMiddle), button);
    EXPECT_TRUE(below(line, frame));
    EXPECT_TRUE(below(label, line));
    // A windowed control made later lies over the labels as well.
    QLineEdit* box = form.AddTextBox("txtCall", "", 0, 0, 300, 300);
    box->show();
    EXPECT_EQ(form.childAt(QPoint(5, 5)), box);
}

// Enter and Space press the focused button, in any window.
TEST(Form, EnterAndSpacePressTheFocusedButton) {
    Form form;
    form.SetDesignClientSize(3000, 1500);
    QPushButton* done = form.AddCommandButton("Command1", "Done", 120, 120, 1200, 400);
    auto* other = new QPushButton("Other", &form);  // made elsewhere, registered
    form.Register(ControlKind::CommandButton, "Command2", other, 1500, 120, 1200, 400);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    for (QPushButton* button : {done, other}) {
        int clicks = 0;
        const auto connection = QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
        button->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
            QTest::keyClick(button, key);
        EXPECT_EQ(clicks, 3) << button->text().toStdString();
        QObject::disconnect(connection);
    }
}

TEST(Form, EveryKindOfControlPaintsTheColoursItIsGiven) {
    // A box of several lines and a list paint in their viewport: the colours
    // must reach it, as they reach a label or a one-line box.
    Form form;
    form.SetDesignClientSize(4800, 4800);
    QLabel* label = form.AddLabel("Label1", "EEEE", 120, 120, 2000, 600);
    QLineEdit* line = form.AddTextBox("Text1", "EEEE", 120, 960, 2000, 600);
    QPlainTextEdit* box = form.AddMultiLineTextBox("Text2", "EEEE", 120, 1800, 2000, 1200);
    QListWidget* list = form.AddListBox("List1", 120, 3240, 2000, 1200);
    list->addItem("EEEE");
    form.Apply();
    const QColor navy(0, 0, 128);
    for (QWidget* control : std::initializer_list<QWidget*>{label, line, box, list}) {
        platform::SetBackColor(control, navy);
        platform::SetForeColor(control, Qt::white);
        EXPECT_EQ(platform::BackColor(control), navy) << control->objectName().toStdString();
        EXPECT_EQ(platform::ForeColor(control), QColor(Qt::white)) << control->objectName().toStdString();
        const QImage shown = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Inside the frame, far from the text.
        EXPECT_EQ(QColor(shown.pixel(shown.width() / 2, shown.height() - 6)), navy)
            << control->objectName().toStdString();
        int white = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) white += qGray(shown.pixel(x, y)) > 200;
        EXPECT_GT(white, 10) << control->objectName().toStdString();
    }
}
