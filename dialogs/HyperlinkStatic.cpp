#include "dialogs/HyperlinkStatic.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QUrl>

#include "gui/Prompter.h"

namespace satorix {

namespace {
// What the classic shell's error codes mean, as the link reports them.
constexpr struct {
    int code;
    const char* text;
} ERROR_TEXTS[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};
constexpr int OPEN_OK = 33;
constexpr int NO_ASSOCIATION = 31;
} // namespace

HyperlinkStatic::HyperlinkStatic(QWidget* parent) : QLabel(parent), opener_(&HyperlinkStatic::openWithDesktop) {}

void HyperlinkStatic::attach()
{
    if (url_.isEmpty()) url_ = text();
    if (text().isEmpty()) setText(url_);
    standardFont_ = font();
    underlineFont_ = standardFont_;
    underlineFont_.setUnderline(true);
    attached_ = true;
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    fitToText();
    underlineMode_ = UNDERLINE_NEVER; // so that the next call takes effect
    setUnderline(UNDERLINE_HOVER);
    setToolTip(url_);
    applyColour();
}

void HyperlinkStatic::setURL(const QString& url)
{
    url_ = url;
    if (!attached_) return;
    fitToText();
    setToolTip(url_);
}

void HyperlinkStatic::setVisited(bool visited)
{
    visited_ = visited;
    if (attached_) applyColour();
}

void HyperlinkStatic::setUnderline(int mode)
{
    if (mode != underlineMode_ && attached_) {
        setFont(mode == UNDERLINE_ALWAYS ? underlineFont_ : standardFont_);
        update();
    }
    underlineMode_ = mode;
}

void HyperlinkStatic::setColours(const QColor& unvisited, const QColor& visited, const QColor& hover)
{
    unvisitedColour_ = unvisited;
    visitedColour_ = visited;
    hoverColour_ = hover;
    if (attached_) applyColour();
}

QColor HyperlinkStatic::textColour() const
{
    if (over_) return hoverColour_;
    return visited_ ? visitedColour_ : unvisitedColour_;
}

void HyperlinkStatic::applyColour()
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, textColour());
    setPalette(pal);
}

void HyperlinkStatic::fitToText()
{
    if (!attached_ || !adjustToFit_) return;
    // Measured in the underline font, so that hovering never changes the size.
    const QSize text = QFontMetrics(underlineFont_).size(Qt::TextSingleLine, this->text());
    const QMargins frame = contentsMargins();
    const int w = text.width() + frame.left() + frame.right() + 2 * margin();
    const int h = text.height() + frame.top() + frame.bottom() + 2 * margin();
    QRect r = geometry();
    const Qt::Alignment a = alignment();
    if (a & Qt::AlignVCenter)
        r.adjust(0, (r.height() - h) / 2, 0, -((r.height() - h) - (r.height() - h) / 2));
    else
        r.setHeight(h);
    if (a & Qt::AlignHCenter)
        r.adjust((r.width() - w) / 2, 0, -((r.width() - w) - (r.width() - w) / 2), 0);
    else if (a & Qt::AlignRight)
        r.setLeft(r.right() - w + 1);
    else
        r.setWidth(w);
    fitted_ = QSize(w, h);
    setGeometry(r);
    updateGeometry();
}

QSize HyperlinkStatic::sizeHint() const { return fitted_.isValid() ? fitted_ : QLabel::sizeHint(); }

void HyperlinkStatic::mouseMoveEvent(QMouseEvent* event)
{
    if (attached_ && !over_) {
        over_ = true;
        if (underlineMode_ == UNDERLINE_HOVER) setFont(underlineFont_);
        applyColour();
        update();
        hoverTimer_.start(HOVER_TIMER_MS, this);
    }
    QLabel::mouseMoveEvent(event);
}

void HyperlinkStatic::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != hoverTimer_.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    if (rect().contains(mapFromGlobal(QCursor::pos()))) return;
    over_ = false;
    hoverTimer_.stop();
    if (underlineMode_ != UNDERLINE_ALWAYS) setFont(standardFont_);
    applyColour();
    // The underline of the hover font may reach below the client area.
    update(rect().adjusted(0, 0, 0, 10));
}

void HyperlinkStatic::mouseReleaseEvent(QMouseEvent* event)
{
    if (attached_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        click();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void HyperlinkStatic::click()
{
    over_ = false;
    const int result = opener_ ? opener_(url_) : NO_ASSOCIATION;
    visited_ = result > 32;
    if (visited_) {
        setVisited(true);
        emit opened(url_);
        return;
    }
    applyColour();
    QApplication::beep();
    if (prompter_)
        prompter_->message(QStringLiteral("Unable to open hyperlink:\n\n") + errorText(result),
                           PromptIcon::Exclamation);
}

QString HyperlinkStatic::errorText(int result)
{
    for (const auto& e : ERROR_TEXTS)
        if (e.code == result) return QString::fromUtf8(e.text);
    return QStringLiteral("Unknown Error (%1) occurred.").arg(result);
}

int HyperlinkStatic::openWithDesktop(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url)) ? OPEN_OK : NO_ASSOCIATION;
}

} // namespace satorix
