#include "widgets/image.h"

#include <QPainter>

#include "widgets/jpeg.h"

TImage::TImage(QWidget *parent) : QWidget(parent) {}

void TImage::setPicture(const QString &path)
{
    if (path == m_picture && (!path.isEmpty() || m_image.isNull()))
        return;
    // Decode first: a picture that fails leaves the control unchanged.
    QImage decoded;
    if (!path.isEmpty())
        decoded = LoadJpeg(path);
    m_picture = path;
    m_image = decoded;
    updateGeometry();
    update();
}

void TImage::setImage(const QImage &image)
{
    m_picture.clear();
    m_image = image;
    updateGeometry();
    update();
}

void TImage::setCenter(bool value)
{
    if (value == m_center)
        return;
    m_center = value;
    update();
}

void TImage::setProportional(bool value)
{
    if (value == m_proportional)
        return;
    m_proportional = value;
    update();
}

QRect TImage::pictureRect() const
{
    if (m_image.isNull())
        return {};
    const QSize box = size();
    QSize shown = m_image.size();
    if (m_proportional && (shown.width() > box.width() || shown.height() > box.height()))
        shown = shown.scaled(box, Qt::KeepAspectRatio);
    QPoint origin(0, 0);
    if (m_center)
        origin = QPoint((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2);
    return QRect(origin, shown);
}

QSize TImage::sizeHint() const
{
    return m_image.isNull() ? QWidget::sizeHint() : m_image.size();
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    QPainter painter(this);
    if (target.size() == m_image.size()) {
        painter.drawImage(target.topLeft(), m_image);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_image);
    }
}
