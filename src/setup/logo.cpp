#include "setup/logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace setup {

namespace {

const QColor kGold(232, 184, 64);
const QColor kSky(96, 160, 255);

QImage blank(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QFont sans(int pixelSize, int weight = QFont::Normal) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

// A lattice tower on a base line with its top at `top`, and the waves it
// sends out to the right.
void drawTower(QPainter& p, QPointF top, double height, int waves) {
    const double half = height * 0.22;
    const QPointF left(top.x() - half, top.y() + height);
    const QPointF right(top.x() + half, top.y() + height);
    p.setPen(QPen(kGold, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(top, left);
    p.drawLine(top, right);
    // Cross bracing, narrowing towards the top.
    p.setPen(QPen(kGold, 2));
    for (int i = 1; i <= 5; ++i) {
        const double f = i / 6.0;
        const QPointF a(top.x() - half * f, top.y() + height * f);
        const QPointF b(top.x() + half * f, top.y() + height * f);
        p.drawLine(a, b);
        if (i < 5) {
            const double g = (i + 1) / 6.0;
            p.drawLine(a, QPointF(top.x() + half * g, top.y() + height * g));
        }
    }
    p.setPen(QPen(kSky, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int w = 1; w <= waves; ++w) {
        const double r = 22.0 * w;
        p.drawArc(QRectF(top.x() - r, top.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
}

}  // namespace

QImage MakerLogo() {
    QImage image = blank(1000, 563, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QRadialGradient glow(QPointF(500, 260), 560);
    glow.setColorAt(0, QColor(20, 40, 110));
    glow.setColorAt(1, Qt::black);
    p.fillRect(image.rect(), glow);

    drawTower(p, QPointF(190, 120), 300, 5);

    p.setPen(Qt::white);
    p.setFont(sans(96, QFont::Bold));
    p.drawText(QRectF(330, 120, 660, 130), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tavik"));
    p.setPen(kGold);
    p.setFont(sans(60));
    p.drawText(QRectF(334, 250, 660, 80), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Software"));
    QLinearGradient rule(QPointF(330, 0), QPointF(960, 0));
    rule.setColorAt(0, kSky);
    rule.setColorAt(1, Qt::transparent);
    p.fillRect(QRectF(334, 340, 626, 4), rule);
    p.setPen(QColor(200, 210, 230));
    p.setFont(sans(26));
    p.drawText(QRectF(334, 356, 640, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Radio contest logging"));
    return image;
}

QImage ProgramMark() {
    QImage image = blank(316, 85, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kGold, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3, 3, 310, 79), 12, 12);
    p.setPen(Qt::white);
    p.setFont(sans(44, QFont::Bold));
    p.drawText(QRectF(16, 4, 200, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Ostrel"));
    p.setPen(kSky);
    p.setFont(sans(13));
    p.drawText(QRectF(18, 58, 290, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Dudurozuz QSO Party logger"));
    p.setPen(QPen(kSky, 3, Qt::SolidLine, Qt::RoundCap));
    for (int w = 1; w <= 3; ++w) {
        const double r = 11.0 * w;
        p.drawArc(QRectF(250 - r, 34 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    }
    return image;
}

QImage CountyMapPicture() {
    QImage image = blank(137, 135, QColor(0, 0, 128));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A loose outline of the state, cut into county-sized cells.
    QPainterPath outline;
    const std::array<QPointF, 10> corners = {
        QPointF(14, 8),   QPointF(70, 4),   QPointF(96, 22),  QPointF(122, 30),
        QPointF(116, 70), QPointF(126, 126), QPointF(40, 130), QPointF(30, 96),
        QPointF(8, 70),   QPointF(18, 40),
    };
    outline.moveTo(corners[0]);
    for (std::size_t i = 1; i < corners.size(); ++i) outline.lineTo(corners[i]);
    outline.closeSubpath();
    p.setClipPath(outline);
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 9; ++col) {
            const int shade = 150 + ((row * 7 + col * 11) % 5) * 20;
            p.fillRect(QRectF(col * 15.5, row * 15.5, 15.5, 15.5), QColor(shade, shade, 96));
        }
    }
    p.setPen(QPen(QColor(0, 0, 80), 1));
    for (int i = 1; i < 9; ++i) {
        p.drawLine(QPointF(i * 15.5, 0), QPointF(i * 15.5 + 4, 135));
        p.drawLine(QPointF(0, i * 15.5), QPointF(137, i * 15.5 - 3));
    }
    p.setClipping(false);
    p.setPen(QPen(Qt::white, 2));
    p.drawPath(outline);
    return image;
}

}  // namespace setup
