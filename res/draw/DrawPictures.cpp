// Draws the editor's pictures (splash, About picture, program icon) into a folder; the tool bar's
// pictures are drawn by the program itself (app/ToolPictures.cpp).
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
#ifdef SATORIX_DRAW_SVG
#include <QSvgGenerator>
#endif

namespace {

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

void drawProgramIcon(QPainter& p, int size)
{
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
}

QImage programIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    drawProgramIcon(p, size);
    return img;
}

#ifdef SATORIX_DRAW_SVG
bool programIconSvg(const QString& path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(64, 64));
    svg.setViewBox(QRect(0, 0, 64, 64));
    svg.setTitle("Satorix");
    QPainter p;
    if (!p.begin(&svg)) return false;
    drawProgramIcon(p, 64);
    return p.end();
}
#endif

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    bool ok = splash().save(out + "/splash.png");
    ok = aboutPicture().save(out + "/about.png") && ok;
    // The icon theme's standard sizes; the desktop picks the nearest, so every one is drawn.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = out + QStringLiteral("/icons/hicolor/%1x%1/apps").arg(size);
        QDir().mkpath(dir);
        ok = programIcon(size).save(dir + "/satorix.png") && ok;
    }
#ifdef SATORIX_DRAW_SVG
    QDir().mkpath(out + "/icons/hicolor/scalable/apps");
    ok = programIconSvg(out + "/icons/hicolor/scalable/apps/satorix.svg") && ok;
#endif
    return ok ? 0 : 1;
}
