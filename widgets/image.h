#pragma once
// TImage: a picture control. It shows a JPEG picture, given as a Qt
// resource path (":/Img1.jpg") or a file path, centred in its box; a
// picture larger than the box is scaled down keeping its proportions,
// a smaller one is never scaled up. On a screen of high density (device
// pixel ratio above 1) it shows the picture's @2x version where one exists
// beside it (":/Img1@2x.jpg" for ":/Img1.jpg"), in the same place.
#include <QImage>
#include <QString>
#include <QWidget>

class TImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Picture READ picture WRITE setPicture)
    Q_PROPERTY(bool Center READ center WRITE setCenter)
    Q_PROPERTY(bool Proportional READ proportional WRITE setProportional)

public:
    explicit TImage(QWidget *parent = nullptr);

    // Path of the picture (resource or file); "" for none.
    QString picture() const { return m_picture; }
    // Reads and decodes the picture and repaints. A picture that cannot
    // be read or decoded raises EInvalidGraphic (widgets/jpeg.h); the
    // control then keeps its previous picture.
    void setPicture(const QString &path);

    // Shows an already decoded picture (the path becomes "").
    void setImage(const QImage &image);
    QImage image() const { return m_image; }

    // Centre the picture in the box (otherwise top-left).
    bool center() const { return m_center; }
    void setCenter(bool value);

    // Scale a picture larger than the box down, keeping its proportions
    // (otherwise it is clipped at the box).
    bool proportional() const { return m_proportional; }
    void setProportional(bool value);

    // The rectangle the picture occupies in the box at the current size.
    QRect pictureRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The @2x version, read at the first paint that needs it.
    const QImage &highDensityImage();

    QString m_picture;
    QImage m_image;
    QImage m_image2x;
    bool m_image2xRead = false;
    bool m_center = true;
    bool m_proportional = true;
};
