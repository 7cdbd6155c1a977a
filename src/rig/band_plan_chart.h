#pragma once
// The privileges chart "Frequency Privileges": the bands a licence class may
// use, one bar a band, with the class's CW segments (blue) and phone segments
// (green) drawn on each bar to scale. Six buttons switch the class; the chart
// opens on the Extra class. Everything on the chart is a label made at run
// time ("blbl" bars, "bnlb" name boxes, "priv" segments), read from
// BandPlan.txt of the working folder once per opening.
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "platform/form.h"
#include "rig/band_plan.h"

class Program;
class QLabel;
class QPushButton;

namespace rig {

// "#,###.##0": grouped whole MHz (none for less than 1) and three decimals.
QString FormatChartMHz(float mhz);

class frmBandPlan final : public platform::Form {
    Q_OBJECT
public:
    // Builds the window hidden and runs its load for the given work area and
    // screen width in twips (the machine's when not given).
    explicit frmBandPlan(Program& program, std::optional<QSizeF> workArea = std::nullopt,
                         std::optional<double> screenWidth = std::nullopt);
    ~frmBandPlan() override;

    void Form_Load(QSizeF workArea, double screenWidth);
    // Removes the chart on the window and draws the one of class `cls`.
    void ShowPrivileges(const QString& cls);
    void Command7_Click();  // "Done"

    QPushButton* Command1 = nullptr;  // "Novice"
    QPushButton* Command2 = nullptr;  // "Technician"
    QPushButton* Command3 = nullptr;  // "Tech +"
    QPushButton* Command4 = nullptr;  // "General"
    QPushButton* Command5 = nullptr;  // "Advanced"
    QPushButton* Command6 = nullptr;  // "Extra"
    QPushButton* Command7 = nullptr;  // "Done"
    QLabel* Label1 = nullptr;         // "Frequencies Effective"
    QLabel* Label2 = nullptr;         // the chart's title
    QLabel* Label3 = nullptr;         // legend "CW"
    QLabel* Label4 = nullptr;         // legend "Phone"
    platform::LineControl* Line1 = nullptr;

    // Every row of the file, outline rows included.
    const std::vector<BandPlanRow>& ChartPlanTable() const { return chartPlan_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void classButton(QPushButton* button, const QString& title, const QString& cls);
    QLabel* addChartLabel(const QString& name, const QString& caption, float left, float top,
                          float width, float height);
    // Places the segments of one bar side by side on it, each wide enough
    // for its limits.
    void layOutSegments(const platform::Control& bar, std::vector<QLabel*> segments);

    Program& program_;
    double screenWidth_ = 9600;
    std::vector<BandPlanRow> chartPlan_;
};

// Opens the chart modally, as the "&Privileges" menu item and Ctrl+F do, and
// unloads it when it is closed, so each opening reads the file again.
void ShowPrivilegesChart(Program& program);

}  // namespace rig
