#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <vector>

class QLabel;
class QMouseEvent;

namespace satorix {

class COrbitView;

// Moving programs inside the list with the left button: the selected rows are lifted out of the
// database when the drag starts and put back at the row under the pointer when the button comes
// up. Driven by the view's own mouse events, a 50 ms auto-scroll timer and a small picture that
// follows the pointer.
class ProgramDragController : public QObject {
    Q_OBJECT
public:
    static constexpr int AUTO_SCROLL_MS = 50;
    static constexpr QPoint PICTURE_OFFSET{7, 2};

    explicit ProgramDragController(COrbitView& view);
    ~ProgramDragController() override;

    bool dragging() const { return dragging_; }
    // The row a drop would land on now, -1 when not dragging.
    int dropRow() const { return dragging_ ? dropRow_ : -1; }
    QLabel* picture() const { return picture_; }

    // Each returns true when it took the event, so that the view's own handling stays out.
    bool press(QMouseEvent* event);
    bool move(QMouseEvent* event);
    bool release(QMouseEvent* event);

private:
    void begin(int row, QPoint viewportPos);
    // False when the rows cannot be lifted; nothing has changed then.
    bool lift();
    void end();
    void movePicture(QPoint global);
    void highlight(int row);
    // Whether a row may take the dragged kind: TV rows end at the boundary, radio rows start there.
    bool rowAllowed(int row) const;
    bool bothKindsShown() const;
    void autoScroll();
    void drop(QPoint viewportPos);

    COrbitView& view_;
    QTimer timer_;
    QLabel* picture_ = nullptr;
    // Press of the left button on a row; -1 when the press was elsewhere.
    int pressRow_ = -1;
    QPoint pressPos_;
    // The press turned into a drag (or a refused one): its moves and release are ours.
    bool consumed_ = false;
    bool dragging_ = false;
    int dropRow_ = -1;
    int highlighted_ = -1;
    int boundary_ = 0;
    bool tvDrag_ = true;
    bool programTable_ = true;
    QPoint lastGlobal_;
    // List rows the lifted programs came from, ascending.
    std::vector<int> sourceRows_;
};

} // namespace satorix
