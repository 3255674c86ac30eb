// Draws the editor's pictures (tool bar strips, splash, About picture, program icon) into a folder.
// Not part of the normal build: run the target draw_pictures and copy the PNGs into res/ when a
// picture changes.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr int CELL = 30;

enum class Variant { Normal, Hot, Disabled };

struct Ink {
    Variant variant;
    QColor operator()(QColor c) const
    {
        if (variant == Variant::Hot) return c.lighter(118);
        if (variant == Variant::Disabled) {
            const int g = qGray(c.rgb());
            const int v = 150 + g * 80 / 255;
            return QColor(v, v, v, c.alpha());
        }
        return c;
    }
};

QPen pen(const Ink& ink, QColor c, qreal w = 1.2) { return QPen(ink(c), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

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
    head << to + QPointF(std::cos(a) * 2, std::sin(a) * 2)
         << to + QPointF(std::cos(a + 2.5) * 6, std::sin(a + 2.5) * 6)
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
    p.setPen(pen(ink, QColor(170, 170, 175), 1.3));
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

QImage strip(Variant v)
{
    const std::vector<std::function<void(QPainter&, const Ink&)>> cells = {
        drawFolder, drawDisk, drawPrinter, drawDelete, drawTvOnly, drawRadioOnly,
        drawTvRadio, drawDownload, drawUpload, drawUpgrade, drawPort, drawAbout};
    QImage img(CELL * static_cast<int>(cells.size()), CELL, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const Ink ink{v};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        p.save();
        p.translate(CELL * static_cast<int>(i), 0);
        if (v == Variant::Hot) {
            // a soft halo tells the pointer it is over a live button
            QRadialGradient glow(QPointF(15, 15), 15);
            glow.setColorAt(0, QColor(255, 245, 200, 150));
            glow.setColorAt(1, QColor(255, 245, 200, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(QPointF(15, 15), 15, 15);
        }
        cells[i](p, ink);
        p.restore();
    }
    return img;
}

void drawDish(QPainter& p, QPointF c, qreal s)
{
    p.save();
    p.translate(c);
    p.scale(s, s);
    p.rotate(-28);
    QLinearGradient g(QPointF(-30, 0), QPointF(30, 0));
    g.setColorAt(0, QColor(235, 238, 242));
    g.setColorAt(1, QColor(160, 170, 185));
    p.setPen(QPen(QColor(90, 100, 115), 1.5));
    p.setBrush(g);
    p.drawChord(QRectF(-32, -32, 64, 64), 180 * 16, 180 * 16);
    p.setPen(QPen(QColor(90, 100, 115), 2.5));
    p.drawLine(QPointF(0, 0), QPointF(0, 26));
    p.drawLine(QPointF(-20, 8), QPointF(0, 26));
    p.drawLine(QPointF(20, 8), QPointF(0, 26));
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(-4, 24, 8, 7));
    p.restore();
}

void drawSky(QPainter& p, const QRect& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(6, 18, 52));
    g.setColorAt(0.65, QColor(18, 62, 130));
    g.setColorAt(1, QColor(44, 110, 180));
    p.fillRect(r, g);
    // a fixed pattern of stars, so that the picture is the same on every build
    p.setPen(Qt::NoPen);
    unsigned seed = 7;
    for (int i = 0; i < 70; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int x = static_cast<int>((seed >> 8) % static_cast<unsigned>(r.width()));
        seed = seed * 1103515245u + 12345u;
        const int y = static_cast<int>((seed >> 8) % static_cast<unsigned>(r.height() * 2 / 3));
        p.setBrush(QColor(255, 255, 255, 90 + static_cast<int>(seed % 150)));
        p.drawEllipse(QPointF(x, y), 0.9, 0.9);
    }
    // orbit arc with a satellite on it
    p.setPen(QPen(QColor(255, 255, 255, 60), 1.2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-r.width() * 0.2, r.height() * 0.25, r.width() * 1.4, r.height() * 1.6), 30 * 16, 120 * 16);
}

void drawSatellite(QPainter& p, QPointF c, qreal s)
{
    p.save();
    p.translate(c);
    p.scale(s, s);
    p.rotate(-15);
    p.setPen(QPen(QColor(30, 30, 40), 0.8));
    p.setBrush(QColor(40, 80, 160));
    p.drawRect(QRectF(-26, -5, 17, 10));
    p.drawRect(QRectF(9, -5, 17, 10));
    p.setPen(QPen(QColor(120, 160, 230), 0.5));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(-26 + 4.25 * i, -5), QPointF(-26 + 4.25 * i, 5));
        p.drawLine(QPointF(9 + 4.25 * i, -5), QPointF(9 + 4.25 * i, 5));
    }
    p.setPen(QPen(QColor(30, 30, 40), 0.8));
    p.setBrush(QColor(215, 175, 60));
    p.drawRect(QRectF(-8, -7, 16, 14));
    p.setBrush(QColor(230, 230, 235));
    p.drawEllipse(QPointF(0, 10), 5, 2.5);
    p.restore();
}

QImage splash()
{
    QImage img(450, 163, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawSky(p, img.rect());
    drawSatellite(p, QPointF(378, 38), 1.2);
    drawDish(p, QPointF(380, 128), 0.9);
    QFont title("DejaVu Sans", 26, QFont::Bold);
    title.setPixelSize(40);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(24, 30, 320, 50), Qt::AlignLeft | Qt::AlignVCenter, "Satorix");
    QFont hd = title;
    hd.setPixelSize(22);
    p.setFont(hd);
    p.setPen(QColor(255, 196, 60));
    p.drawText(QRect(192, 38, 80, 40), Qt::AlignLeft | Qt::AlignVCenter, "HD");
    QFont sub("DejaVu Sans", 10);
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(205, 222, 250));
    p.drawText(QRect(26, 82, 320, 22), Qt::AlignLeft, "Channel database editor");
    QFont small("DejaVu Sans", 8);
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(170, 195, 235));
    p.drawText(QRect(26, 130, 320, 18), Qt::AlignLeft, "Version 03.01   \u00a9 Orbitline Digital");
    return img;
}

QImage aboutPicture()
{
    QImage img(340, 90, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawSky(p, img.rect());
    drawSatellite(p, QPointF(290, 30), 0.9);
    drawDish(p, QPointF(300, 74), 0.6);
    QFont title("DejaVu Sans", 20, QFont::Bold);
    title.setPixelSize(30);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(18, 14, 200, 40), Qt::AlignLeft | Qt::AlignVCenter, "Satorix");
    QFont hd = title;
    hd.setPixelSize(17);
    p.setFont(hd);
    p.setPen(QColor(255, 196, 60));
    p.drawText(QRect(145, 20, 60, 30), Qt::AlignLeft | Qt::AlignVCenter, "HD");
    QFont sub("DejaVu Sans", 9);
    sub.setPixelSize(12);
    p.setFont(sub);
    p.setPen(QColor(205, 222, 250));
    p.drawText(QRect(20, 56, 240, 20), Qt::AlignLeft, "Channel database editor");
    return img;
}

QImage programIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient g(QPointF(0, 0), QPointF(0, 64));
    g.setColorAt(0, QColor(20, 60, 140));
    g.setColorAt(1, QColor(50, 120, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    drawDish(p, QPointF(30, 40), 0.75);
    drawSatellite(p, QPointF(44, 16), 0.55);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    bool ok = strip(Variant::Normal).save(out + "/toolbar-normal.png");
    ok = strip(Variant::Hot).save(out + "/toolbar-hot.png") && ok;
    ok = strip(Variant::Disabled).save(out + "/toolbar-disabled.png") && ok;
    ok = splash().save(out + "/splash.png") && ok;
    ok = aboutPicture().save(out + "/about.png") && ok;
    ok = programIcon(64).save(out + "/satorix-64.png") && ok;
    ok = programIcon(128).save(out + "/satorix.png") && ok;
    return ok ? 0 : 1;
}
