#pragma once
// The crosshair over the nomogram: two thin lines through the mouse
// position, across the whole picture, drawn on the transparent overlay that
// covers the picture. The picture itself is never touched.
//
// Moves over the overlay draw the crosshair at the new position; a move over
// the bare page (outside the overlay and outside the panel beside it)
// erases it, once. Moves over the panel leave it as it is. Hiding the page
// (another page chosen) erases it too.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class QPen;

class Crosshair : public QObject
{
    Q_OBJECT

public:
    // overlay: the transparent label over the picture (it gets the lines);
    // page: the page holding picture, overlay and panel; picture: gives
    // the lines' length; panel: moves over it are not the page's; pen: the
    // window's crosshair pen, read at every paint.
    Crosshair(QWidget *overlay, QWidget *page, QWidget *picture, QWidget *panel, const QPen *pen,
              QObject *parent = nullptr);

    bool isDrawn() const { return m_drawn; }
    QPoint position() const { return m_pos; }
    // True once the crosshair has been erased by a move over the page, until
    // the next move over the overlay.
    bool erased() const { return m_erased; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void overlayMouseMove(const QPoint &pos);
    void pageMouseMove(const QPoint &pos);
    void paintOverlay();

    QPointer<QWidget> m_overlay, m_page, m_picture, m_panel;
    const QPen *m_pen;
    QPoint m_pos;
    bool m_drawn = false;
    bool m_erased = false;
};
