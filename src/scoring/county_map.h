#pragma once
// The county map " Dudurozuz County Map": the party state's counties, each
// county already worked filled with a random colour of its own. Resting the
// mouse on a county shows its name. The Map menu loads it, shows it modally
// and unloads it, so every opening colours the map afresh from the worked-
// county list of the main window.
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <array>

#include "platform/form.h"
#include "platform/twips.h"
#include "scoring/county_map_picture.h"

class Program;
class QLabel;
class QTimer;

namespace scoring {

// Fills, with `fill`, every pixel that has the colour of the seed pixel and
// is joined to it through such pixels by its four side neighbours (the
// borders of the map stop it at a county's edge). A seed outside the image
// fills nothing.
void FloodFillSurface(QImage& image, QPoint seed, const QColor& fill);

// The pixel at the centre of a label rectangle given in twips: where its
// county's fill starts.
QPoint LabelSeed(double left, double top, double width, double height);
QPoint LabelSeed(const CountyLabelRect& rect);

class CountyMapWI final : public platform::Form {
    Q_OBJECT
public:
    explicit CountyMapWI(Program& program);
    ~CountyMapWI() override;

    // Events.
    void Form_Load();
    void Form_Load(const platform::ScreenTwips& screen);
    void Timer1_Timer();
    void ColorWorkedCountiesOut();
    void ColorWorkedCountiesIn();

    // The map as it is shown now.
    const QImage& Picture() const { return picture_; }

    QLabel* Picture1 = nullptr;
    std::array<QLabel*, kCountyLabels> lblCounty{};
    QTimer* Timer1 = nullptr;

private:
    // Fills the county of each worked item that names one of the labels
    // searched (ignoring case); other items colour nothing.
    void colorWorkedCounties(const QStringList& worked);
    void showPicture();

    Program& program_;
    QImage picture_;
};

}  // namespace scoring
