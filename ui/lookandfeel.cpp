#include "ui/lookandfeel.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

#include "core/checktexts.h"
#include "widgets/syscolors.h"

int pointsToPixels(int points)
{
    // points * 96 / 72 rounded to nearest, halves away from zero.
    const int num = points * 96;
    return num >= 0 ? (num + 36) / 72 : -((-num + 36) / 72);
}

QFont designFont(int pixels, bool bold, const QString &family)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

namespace {

QPalette systemPalette()
{
    QPalette pal;
    auto set = [&pal](QPalette::ColorRole role, TColor c) { pal.setColor(QPalette::All, role, resolveColor(c)); };
    set(QPalette::Window, clBtnFace);
    set(QPalette::WindowText, clWindowText);
    set(QPalette::Base, clWindow);
    set(QPalette::AlternateBase, clBtnFace);
    set(QPalette::Text, clWindowText);
    set(QPalette::Button, clBtnFace);
    set(QPalette::ButtonText, clBtnText);
    set(QPalette::Light, clBtnHighlight);
    set(QPalette::Midlight, cl3DLight);
    set(QPalette::Mid, clBtnShadow);
    set(QPalette::Dark, clBtnShadow);
    set(QPalette::Shadow, cl3DDkShadow);
    set(QPalette::Highlight, clHighlight);
    set(QPalette::HighlightedText, clHighlightText);
    set(QPalette::ToolTipBase, clInfoBk);
    set(QPalette::ToolTipText, clInfoText);
    set(QPalette::PlaceholderText, clGrayText);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, resolveColor(clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::Text, resolveColor(clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, resolveColor(clGrayText));
    return pal;
}

} // namespace

void installLookAndFeel()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    for (const char *family : {"MS Sans Serif", "Tahoma", "MS Shell Dlg", "MS Shell Dlg 2"})
        QFont::insertSubstitution(QString::fromLatin1(family), QString::fromLatin1(kSubstituteFamily));
    QApplication::setFont(designFont(kWindowFontPixels));
    QApplication::setPalette(systemPalette());
}

void applyDesignFonts(QWidget *root)
{
    if (!root)
        return;
    auto convert = [](QWidget *w) {
        if (!w->testAttribute(Qt::WA_SetFont))
            return;
        QFont f = w->font();
        if (f.pixelSize() > 0 || f.pointSize() <= 0)
            return;
        f.setPixelSize(pointsToPixels(f.pointSize()));
        w->setFont(f);
    };
    convert(root);
    // findChildren lists a parent before its descendants.
    const QList<QWidget *> children = root->findChildren<QWidget *>();
    for (QWidget *w : children)
        convert(w);
    // Non-visual components that hold a font of their own (TFlatHint).
    for (QObject *component : root->children()) {
        if (component->isWidgetType())
            continue;
        const QVariant stored = component->property("Font");
        if (stored.metaType().id() != QMetaType::QFont)
            continue;
        QFont f = stored.value<QFont>();
        if (f.pixelSize() > 0 || f.pointSize() <= 0)
            continue;
        f.setPixelSize(pointsToPixels(f.pointSize()));
        component->setProperty("Font", f);
    }
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {48, 32, 16}) {
        const QString file = QStringLiteral(":/icon/zelton-%1.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}

QColor verdictColor(VerdictTone tone)
{
    switch (tone) {
    case VerdictTone::Good:
        return QColor(0, 112, 0);
    case VerdictTone::Caution:
        return QColor(160, 96, 0);
    case VerdictTone::Bad:
        return QColor(192, 0, 0);
    case VerdictTone::Neutral:
        break;
    }
    return resolveColor(clWindowText);
}
