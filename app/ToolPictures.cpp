#include "app/ToolPictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmapCache>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <numbers>

namespace satorix::toolPictures {

namespace {

// Every picture is drawn on a 30-unit square and scaled to the pixels it is shown in.
constexpr qreal CELL = 30;

// The colours of one variant: hot pictures are lighter, disabled ones grey (darker greys on a
// dark tool bar, so that they still look switched off there).
struct Ink {
    QIcon::Mode mode;
    bool dark;
    QColor operator()(QColor c) const
    {
        if (mode == QIcon::Active) return c.lighter(118);
        if (mode == QIcon::Disabled) {
            const int g = qGray(c.rgb());
            const int v = dark ? 70 + g * 70 / 255 : 150 + g * 80 / 255;
            return QColor(v, v, v, c.alpha());
        }
        return c;
    }
};

QPen pen(const Ink& ink, QColor c, qreal w = 1.2)
{
    return QPen(ink(c), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawFolder(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink, QColor(140, 95, 10)));
    p.setBrush(ink(QColor(236, 190, 70)));
    QPainterPath back;
    back.moveTo(4, 8);
    back.lineTo(11, 8);
    back.lineTo(13, 10.5);
    back.lineTo(24, 10.5);
    back.lineTo(24, 24);
    back.lineTo(4, 24);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(ink(QColor(252, 218, 120)));
    QPainterPath front;
    front.moveTo(4, 24);
    front.lineTo(8, 14);
    front.lineTo(27.5, 14);
    front.lineTo(24, 24);
    front.closeSubpath();
    p.drawPath(front);
}

void drawDisk(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink, QColor(20, 45, 110)));
    p.setBrush(ink(QColor(50, 95, 190)));
    QPainterPath body;
    body.moveTo(5, 5);
    body.lineTo(22, 5);
    body.lineTo(25, 8);
    body.lineTo(25, 25);
    body.lineTo(5, 25);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(ink(QColor(235, 238, 245)));
    p.drawRect(QRectF(9, 5, 11, 7));
    p.setBrush(ink(QColor(40, 60, 110)));
    p.drawRect(QRectF(16, 6.5, 2.5, 4));
    p.setBrush(ink(QColor(250, 250, 250)));
    p.drawRect(QRectF(8.5, 16, 13, 9));
    p.setPen(pen(ink, QColor(150, 160, 180), 1));
    p.drawLine(QPointF(10.5, 19), QPointF(19.5, 19));
    p.drawLine(QPointF(10.5, 22), QPointF(19.5, 22));
}

void drawPrinter(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink, QColor(70, 70, 80)));
    p.setBrush(ink(QColor(255, 255, 255)));
    p.drawRect(QRectF(9, 4, 12, 9));
    p.setBrush(ink(QColor(150, 155, 165)));
    p.drawRoundedRect(QRectF(4, 12, 22, 10), 2, 2);
    p.setBrush(ink(QColor(255, 255, 255)));
    p.drawRect(QRectF(9, 18, 12, 8));
    p.setPen(pen(ink, QColor(120, 120, 130), 1));
    p.drawLine(QPointF(11, 21), QPointF(19, 21));
    p.drawLine(QPointF(11, 23.5), QPointF(17, 23.5));
    p.setPen(Qt::NoPen);
    p.setBrush(ink(QColor(60, 200, 80)));
    p.drawEllipse(QPointF(22.5, 15), 1.2, 1.2);
}

void drawDelete(QPainter& p, const Ink& ink)
{
    p.setPen(QPen(ink(QColor(150, 20, 20)), 6.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(22, 22));
    p.drawLine(QPointF(22, 8), QPointF(8, 22));
    p.setPen(QPen(ink(QColor(225, 50, 45)), 4.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(22, 22));
    p.drawLine(QPointF(22, 8), QPointF(8, 22));
}

void drawTv(QPainter& p, const Ink& ink, QRectF r)
{
    p.setPen(pen(ink, QColor(40, 40, 50)));
    p.setBrush(ink(QColor(70, 72, 85)));
    p.drawRoundedRect(r, 2.5, 2.5);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, ink(QColor(120, 190, 250)));
    g.setColorAt(1, ink(QColor(30, 90, 180)));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(r.adjusted(2, 2, -2, -2));
    p.setPen(pen(ink, QColor(40, 40, 50)));
    p.drawLine(QPointF(r.center().x() - 3, r.bottom() + 2.5), QPointF(r.center().x() + 3, r.bottom() + 2.5));
    p.drawLine(QPointF(r.center().x(), r.bottom()), QPointF(r.center().x(), r.bottom() + 2.5));
}

void drawNote(QPainter& p, const Ink& ink, QPointF at, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink(QColor(200, 60, 30)));
    p.drawEllipse(QPointF(at.x(), at.y()), 3 * s, 2.4 * s);
    p.drawEllipse(QPointF(at.x() + 8 * s, at.y() - 2 * s), 3 * s, 2.4 * s);
    p.setPen(QPen(ink(QColor(200, 60, 30)), 1.6 * s));
    p.drawLine(QPointF(at.x() + 2.6 * s, at.y()), QPointF(at.x() + 2.6 * s, at.y() - 12 * s));
    p.drawLine(QPointF(at.x() + 10.6 * s, at.y() - 2 * s), QPointF(at.x() + 10.6 * s, at.y() - 14 * s));
    p.setPen(QPen(ink(QColor(200, 60, 30)), 3 * s));
    p.drawLine(QPointF(at.x() + 2.6 * s, at.y() - 11 * s), QPointF(at.x() + 10.6 * s, at.y() - 13 * s));
}

void drawTvOnly(QPainter& p, const Ink& ink)
{
    drawTv(p, ink, QRectF(3, 6, 24, 16));
    p.setPen(ink(QColor(255, 255, 255)));
    QFont f("DejaVu Sans", 7, QFont::Bold);
    f.setPixelSize(9);
    p.setFont(f);
    p.drawText(QRectF(3, 6, 24, 16), Qt::AlignCenter, "TV");
}

void drawRadioOnly(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink, QColor(60, 60, 60)));
    p.drawLine(QPointF(9, 12), QPointF(21, 4));
    p.setBrush(ink(QColor(110, 80, 50)));
    p.drawRoundedRect(QRectF(3, 11, 24, 14), 3, 3);
    p.setBrush(ink(QColor(230, 215, 170)));
    p.drawRect(QRectF(6, 14, 9, 8));
    p.setPen(pen(ink, QColor(110, 80, 50), 0.8));
    for (int i = 0; i < 4; ++i) p.drawLine(QPointF(6, 15.5 + 2 * i), QPointF(15, 15.5 + 2 * i));
    p.setPen(pen(ink, QColor(40, 30, 20)));
    p.setBrush(ink(QColor(210, 190, 120)));
    p.drawEllipse(QPointF(21, 18), 3.2, 3.2);
}

void drawTvRadio(QPainter& p, const Ink& ink)
{
    drawTv(p, ink, QRectF(2, 4, 19, 13));
    drawNote(p, ink, QPointF(15, 25), 0.85);
}

void drawBox(QPainter& p, const Ink& ink, QRectF r)
{
    p.setPen(pen(ink, QColor(30, 30, 35)));
    p.setBrush(ink(QColor(60, 62, 70)));
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(ink(QColor(80, 230, 90)));
    p.drawRect(QRectF(r.left() + 2.5, r.center().y() - 0.8, 2, 1.6));
    p.setBrush(ink(QColor(120, 200, 255)));
    p.drawRect(QRectF(r.right() - 8, r.center().y() - 1, 6, 2));
}

void drawPc(QPainter& p, const Ink& ink, QRectF r)
{
    p.setPen(pen(ink, QColor(50, 50, 60)));
    p.setBrush(ink(QColor(225, 225, 230)));
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(ink(QColor(60, 120, 200)));
    p.drawRect(r.adjusted(2, 2, -2, -2));
}

void drawArrow(QPainter& p, const Ink& ink, QPointF from, QPointF to)
{
    const QColor c = ink(QColor(30, 150, 50));
    p.setPen(QPen(c, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const qreal a = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPolygonF head;
    head << to + QPointF(std::cos(a) * 2, std::sin(a) * 2) << to + QPointF(std::cos(a + 2.5) * 6, std::sin(a + 2.5) * 6)
         << to + QPointF(std::cos(a - 2.5) * 6, std::sin(a - 2.5) * 6);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(head);
}

void drawDownload(QPainter& p, const Ink& ink)
{
    drawBox(p, ink, QRectF(2, 3, 20, 7));
    drawPc(p, ink, QRectF(12, 15, 16, 12));
    drawArrow(p, ink, QPointF(7, 12), QPointF(7, 25));
}

void drawUpload(QPainter& p, const Ink& ink)
{
    drawBox(p, ink, QRectF(2, 3, 20, 7));
    drawPc(p, ink, QRectF(12, 15, 16, 12));
    drawArrow(p, ink, QPointF(7, 26), QPointF(7, 13));
}

void drawUpgrade(QPainter& p, const Ink& ink)
{
    p.setPen(pen(ink, QColor(40, 40, 40)));
    p.setBrush(ink(QColor(50, 50, 55)));
    p.drawRect(QRectF(6, 9, 14, 14));
    // Pins dark enough to outline the chip on a light tool bar.
    p.setPen(pen(ink, QColor(115, 115, 122), 1.3));
    for (int i = 0; i < 4; ++i) {
        const qreal o = 10 + 3.2 * i;
        p.drawLine(QPointF(3, o), QPointF(6, o));
        p.drawLine(QPointF(20, o), QPointF(23, o));
        p.drawLine(QPointF(o - 2, 6), QPointF(o - 2, 9));
        p.drawLine(QPointF(o - 2, 23), QPointF(o - 2, 26));
    }
    p.setPen(ink(QColor(240, 240, 240)));
    QFont f("DejaVu Sans", 6, QFont::Bold);
    f.setPixelSize(7);
    p.setFont(f);
    p.drawText(QRectF(6, 9, 14, 14), Qt::AlignCenter, "SW");
    drawArrow(p, ink, QPointF(25, 14), QPointF(25, 2.5));
}

void drawPort(QPainter& p, const Ink& ink)
{
    QPolygonF shell;
    shell << QPointF(3, 9) << QPointF(27, 9) << QPointF(24, 22) << QPointF(6, 22);
    p.setPen(pen(ink, QColor(60, 60, 70)));
    p.setBrush(ink(QColor(190, 195, 205)));
    p.drawPolygon(shell);
    p.setPen(Qt::NoPen);
    p.setBrush(ink(QColor(50, 50, 60)));
    for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(7.5 + 3.75 * i, 13), 1.2, 1.2);
    for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(9.4 + 3.75 * i, 18), 1.2, 1.2);
    p.setBrush(ink(QColor(120, 125, 135)));
    p.drawEllipse(QPointF(1.8, 15.5), 1.4, 1.4);
    p.drawEllipse(QPointF(28.2, 15.5), 1.4, 1.4);
}

void drawAbout(QPainter& p, const Ink& ink)
{
    QRadialGradient g(QPointF(12, 11), 14);
    g.setColorAt(0, ink(QColor(110, 170, 250)));
    g.setColorAt(1, ink(QColor(25, 80, 170)));
    p.setPen(pen(ink, QColor(20, 55, 120)));
    p.setBrush(g);
    p.drawEllipse(QPointF(15, 15), 11.5, 11.5);
    p.setPen(ink(QColor(255, 255, 255)));
    QFont f("DejaVu Serif", 12, QFont::Bold);
    f.setPixelSize(17);
    p.setFont(f);
    p.drawText(QRectF(3.5, 3, 23, 24), Qt::AlignCenter, "?");
}

using Draw = void (*)(QPainter&, const Ink&);
constexpr std::array<Draw, COUNT> DRAW = {drawFolder, drawDisk,      drawPrinter, drawDelete,
                                          drawTvOnly, drawRadioOnly, drawTvRadio, drawDownload,
                                          drawUpload, drawUpgrade,   drawPort,    drawAbout};

QImage drawPicture(int picture, QIcon::Mode mode, int pixels, bool dark)
{
    QImage img(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(pixels / CELL, pixels / CELL);
    if (mode == QIcon::Active) {
        // a soft halo tells the pointer it is over a live button
        QRadialGradient glow(QPointF(15, 15), 15);
        glow.setColorAt(0, QColor(255, 245, 200, 150));
        glow.setColorAt(1, QColor(255, 245, 200, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QPointF(15, 15), 15, 15);
    }
    DRAW[static_cast<std::size_t>(picture)](p, Ink{mode, dark});
    return img;
}

// The pictures' dark outlines vanish into a dark tool bar: a light rim around the shape keeps it readable.
QImage withRim(const QImage& picture, QColor rim)
{
    QImage tinted = picture;
    {
        QPainter t(&tinted);
        t.setCompositionMode(QPainter::CompositionMode_SourceIn);
        t.fillRect(tinted.rect(), rim);
    }
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    const qreal r = std::max(1.0, picture.width() / 24.0);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * std::numbers::pi / 4;
        p.drawImage(QPointF(r * std::cos(a), r * std::sin(a)), tinted);
    }
    p.drawImage(0, 0, picture);
    return out;
}

bool darkPalette() { return QGuiApplication::palette().color(QPalette::Window).lightness() < 128; }

// Draws the picture for the size and pixel ratio it is asked for, so it is never a blown-up bitmap.
class ToolIconEngine final : public QIconEngine {
public:
    explicit ToolIconEngine(int picture) : picture_(picture) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), pm);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int pixels = std::min(size.width(), size.height());
        const bool dark = darkPalette();
        if (mode == QIcon::Selected) mode = QIcon::Normal;
        const QString key = QStringLiteral("satorix-tool/%1/%2/%3/%4").arg(picture_).arg(mode).arg(pixels).arg(dark);
        QPixmap pm;
        if (!QPixmapCache::find(key, &pm)) {
            pm = QPixmap::fromImage(render(picture_, mode, pixels, dark));
            QPixmapCache::insert(key, pm);
        }
        return pm;
    }
    QIconEngine* clone() const override { return new ToolIconEngine(picture_); }
    QString key() const override { return QStringLiteral("satorix-tool"); }

private:
    int picture_;
};

} // namespace

QImage render(int picture, QIcon::Mode mode, int pixels, bool darkBackground)
{
    if (picture < 0 || picture >= COUNT || pixels <= 0) return {};
    const QImage img = drawPicture(picture, mode, pixels, darkBackground);
    if (!darkBackground || mode == QIcon::Disabled) return img;
    return withRim(img, QColor(236, 238, 242, 230));
}

QIcon icon(int picture) { return QIcon(new ToolIconEngine(picture)); }

} // namespace satorix::toolPictures
