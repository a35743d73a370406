#pragma once
// A label for a line of plain text that a window rewrites on every
// keystroke. It keeps the pictures of the last texts it showed, so a text
// that comes back (a digit typed and erased, a row that goes and comes
// back) is drawn as one picture, without laying it out and drawing its
// glyphs again; and it fills its own background, so that a new text
// repaints the label alone and not the controls beneath it.
#include <QLabel>
#include <QPixmap>
#include <array>

class StaticTextLabel : public QLabel
{
    Q_OBJECT

public:
    static constexpr int kKeptTexts = 2;

    explicit StaticTextLabel(QWidget *parent = nullptr);
    ~StaticTextLabel() override;

protected:
    // The text at the top left of the contents, wrapped at the label's
    // width where word wrap is on, in the palette's colour for the text.
    void paintEvent(QPaintEvent *event) override;
    // A new font, colour or state draws every text anew (so does a new
    // size, when it paints).
    void changeEvent(QEvent *event) override;

private:
    const QPixmap &picture(const QString &text);
    void forgetPictures();

    struct Kept {
        QString text;
        QPixmap picture;
        bool valid = false;
    };
    std::array<Kept, kKeptTexts> m_kept;
    int m_next = 0;      // the entry the next new text replaces
    QSize m_pictureSize; // the size the pictures were drawn for
};
