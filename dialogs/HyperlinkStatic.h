#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <functional>

namespace satorix {

class Prompter;

// A text label that works as a web link: coloured by state, underlined on hover (by default), with
// the URL as tooltip and a hand cursor; a click opens the URL with the desktop's handler.
class HyperlinkStatic : public QLabel {
    Q_OBJECT
public:
    // Opens a URL; a result above 32 is success, anything else one of the error codes of errorText.
    using Opener = std::function<int(const QString& url)>;

    static constexpr int HOVER_TIMER_MS = 100;
    static constexpr int UNDERLINE_ALWAYS = 1;
    static constexpr int UNDERLINE_NEVER = 0;
    static constexpr int UNDERLINE_HOVER = -1;

    explicit HyperlinkStatic(QWidget* parent = nullptr);

    // Turns the label into a link; call after its text (and, if wanted, the URL) is set.
    void attach();

    void setURL(const QString& url);
    const QString& url() const { return url_; }
    void setVisited(bool visited);
    bool visited() const { return visited_; }
    void setUnderline(int mode);
    int underline() const { return underlineMode_; }
    void setAdjustToFit(bool on) { adjustToFit_ = on; }
    void setColours(const QColor& unvisited, const QColor& visited, const QColor& hover);
    bool isOver() const { return over_; }
    QColor textColour() const;

    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    void setOpener(Opener opener) { opener_ = std::move(opener); }

    static QString errorText(int result);
    static int openWithDesktop(const QString& url);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void opened(const QString& url);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void fitToText();
    void applyColour();
    void click();

    QString url_;
    QColor unvisitedColour_{0, 0, 238};
    QColor visitedColour_{85, 26, 139};
    QColor hoverColour_{255, 0, 0};
    bool over_ = false;
    bool visited_ = false;
    int underlineMode_ = UNDERLINE_HOVER;
    bool adjustToFit_ = true;
    bool attached_ = false;
    QFont standardFont_;
    QFont underlineFont_;
    QSize fitted_;
    QBasicTimer hoverTimer_;
    Prompter* prompter_ = nullptr;
    Opener opener_;
};

} // namespace satorix
