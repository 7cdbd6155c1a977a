#pragma once
// The rate graph " Activity Graph - QSOs per Hour Rate   (# QSOs over 10
// minutes X 6)": the contact rate of the whole log against time, a strip of
// band colours under it, value labels up the side and times and dates along
// the bottom. A button switches between a black and a white background. The
// Graph menu loads it, shows it modally and unloads it.
#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <optional>

#include "logstore/contact_log.h"
#include "platform/form.h"
#include "platform/twips.h"

class Program;
class QLabel;
class QPushButton;

namespace scoring {

// The time from the first to the last contact is cut into this many slots.
inline constexpr int kRateSlots = 1500;
// The slot arrays run from 0 to 1600.
inline constexpr std::size_t kRateSlotArray = 1601;

// The band legend in element order: "160", "80", "40", "20", "15", "10",
// "Other" (every other band).
inline constexpr std::size_t kGraphBands = 7;

// The 15 times and dates along the bottom, from the first contact to the
// last.
struct RateGraphTimes {
    std::array<QString, 15> times;  // "hh:mm"
    std::array<QString, 15> dates;  // "MM/DD" with the system's date separator
};

// The labels of contacts 1 to QSOCount; std::nullopt when the first or the
// last moment does not read. They stand also where no graph can be drawn.
std::optional<RateGraphTimes> ComputeRateGraphTimes(const logstore::ContactLog& log);

// Everything the graph shows, computed before anything is drawn.
struct RateGraphData {
    std::array<float, kRateSlotArray> raw{};
    std::array<float, kRateSlotArray> smoothed{};
    std::array<QColor, kRateSlotArray> colour{};
    float smallest = 0;
    float largest = 0;
    std::array<QString, 15> times;
    std::array<QString, 15> dates;
    std::array<QString, 17> values;
};

// Computes the graph of contacts 1 to QSOCount; std::nullopt when it cannot
// be drawn: fewer than 7 contacts, a date or time that does not read, first
// and last contact at the same second, a contact before the first one or far
// after the last one, or a rate that never changes.
std::optional<RateGraphData> ComputeRateGraph(const logstore::ContactLog& log, const QColor& background,
                                              const std::array<QColor, kGraphBands>& bandColours);

class GraphQSO final : public platform::Form {
    Q_OBJECT
public:
    explicit GraphQSO(Program& program);
    ~GraphQSO() override;

    // Events.
    void Form_Load();
    void Form_Load(QSizeF workAreaTwips, double screenWidthTwips);
    void Form_Load(const platform::ScreenTwips& screen);
    void DrawRateGraph();
    void Command1_Click();

    // What is drawn under the controls: the background and, once computed,
    // the rate line and the band strip.
    const QImage& Canvas() const { return canvas_; }
    QColor Background() const { return background_; }
    // The graph last drawn, or none.
    const std::optional<RateGraphData>& Graph() const { return graph_; }

    // The plot's edges, grid lines and the band strip's reference lines.
    platform::LineControl* Line1 = nullptr;
    platform::LineControl* Line2 = nullptr;
    platform::LineControl* Line3 = nullptr;
    platform::LineControl* Line4 = nullptr;
    platform::LineControl* Line8 = nullptr;
    platform::LineControl* Line9 = nullptr;
    std::array<platform::LineControl*, 15> gridLines{};  // Line5 to Line7, Line10 to Line21
    std::array<QLabel*, 17> lblY{};
    std::array<QLabel*, 15> lblTime{};
    std::array<QLabel*, 15> lblDate{};
    QLabel* Label1 = nullptr;
    std::array<QLabel*, kGraphBands> lblBnd{};
    QPushButton* Command1 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    // Draws the background and the graph into a new canvas.
    void paintCanvas();
    std::array<platform::LineControl*, 21> allLines() const;

    Program& program_;
    QColor background_{Qt::black};
    QImage canvas_;
    std::optional<RateGraphData> graph_;
};

}  // namespace scoring
