#include "widgets/image.h"

#include <QFile>
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
        decoded = loadJpeg(path);
    m_picture = path;
    m_image = decoded;
    m_image2x = QImage();
    m_image2xRead = false;
    updateGeometry();
    update();
}

void TImage::setImage(const QImage &image)
{
    m_picture.clear();
    m_image = image;
    m_image2x = QImage();
    m_image2xRead = false;
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

QSize TImage::sizeHint() const { return m_image.isNull() ? QWidget::sizeHint() : m_image.size(); }

const QImage &TImage::highDensityImage()
{
    if (!m_image2xRead) {
        m_image2xRead = true;
        const int dot = m_picture.lastIndexOf(QLatin1Char('.'));
        const QString path = dot > m_picture.lastIndexOf(QLatin1Char('/'))
                                 ? m_picture.left(dot) + QStringLiteral("@2x") + m_picture.mid(dot)
                                 : QString();
        // Only a version of exactly twice the size stands in for the picture;
        // one that cannot be read leaves the picture as it is.
        if (!path.isEmpty() && QFile::exists(path)) {
            try {
                const QImage image = loadJpeg(path);
                if (image.size() == m_image.size() * 2)
                    m_image2x = image;
            } catch (const std::exception &) {
            }
        }
    }
    return m_image2x;
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    QPainter painter(this);
    if (devicePixelRatioF() > 1 && !m_picture.isEmpty() && !highDensityImage().isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(target), m_image2x);
        return;
    }
    if (target.size() == m_image.size()) {
        painter.drawImage(target.topLeft(), m_image);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_image);
    }
}
