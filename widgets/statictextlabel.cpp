#include "widgets/statictextlabel.h"

#include <QEvent>
#include <QPainter>
#include <QStaticText>
#include <QTextOption>

StaticTextLabel::StaticTextLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
}

StaticTextLabel::~StaticTextLabel() = default;

const QPixmap &StaticTextLabel::picture(const QString &text)
{
    // Pictures of another size are of no use.
    if (contentsRect().size() != m_pictureSize) {
        forgetPictures();
        m_pictureSize = contentsRect().size();
    }
    for (const Kept &kept : m_kept)
        if (kept.valid && kept.text == text)
            return kept.picture;
    Kept &kept = m_kept[m_next];
    m_next = (m_next + 1) % kKeptTexts;
    kept.text = text;
    const QRect area = contentsRect();
    const qreal ratio = devicePixelRatioF();
    kept.picture = QPixmap(area.size() * ratio);
    kept.picture.setDevicePixelRatio(ratio);
    kept.picture.fill(palette().color(backgroundRole()));
    QStaticText layout(text);
    layout.setTextFormat(Qt::PlainText);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setTextWidth(wordWrap() ? area.width() : -1);
    QPainter painter(&kept.picture);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawStaticText(QPointF(0, 0), layout);
    kept.valid = true;
    return kept.picture;
}

void StaticTextLabel::forgetPictures()
{
    for (Kept &kept : m_kept)
        kept.valid = false;
}

void StaticTextLabel::paintEvent(QPaintEvent *)
{
    if (text().isEmpty())
        return;
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture(text()));
}

void StaticTextLabel::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::EnabledChange:
        forgetPictures();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}
