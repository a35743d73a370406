#include "widgets/keyfilter.h"

#include <QKeyEvent>

namespace {

bool isAsciiDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

} // namespace

bool isSystemChar(const QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !e->text().isEmpty()
           && e->text().at(0).unicode() >= 32;
}

QString typedChars(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QString(QChar(u'\r'));
    case Qt::Key_Escape:
        return QString(QChar(kEsc));
    case Qt::Key_Backspace:
        // With Ctrl, the classic keyboard translation gives DEL, which the
        // key filter drops: Ctrl+Backspace deletes no word.
        if ((e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier)
            return QString(QChar(kDel));
        return QString(QChar(u'\b'));
    case Qt::Key_Delete:
        return QString();
    default:
        break;
    }
    const QString text = e->text();
    const Qt::KeyboardModifiers mods =
        e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (text.size() != 1)
            return QString();
        const char16_t c = text.at(0).unicode();
        if (c < 32)
            return text;
        if ((c >= u'a' && c <= u'z') || (c >= u'@' && c <= u'_'))
            return QString(QChar(char16_t(c & 0x1F)));
        return QString(); // Ctrl with a digit or sign types nothing
    }
    QString out;
    for (QChar c : text) {
        if (c.unicode() != 127) // DEL is not a typed character
            out.append(c);
    }
    return out;
}

CharVerdict filterChar(QChar k, const KeyFilterInput &field)
{
    const QChar sep = QChar::fromLatin1(field.separator);
    const QString &t = field.text;
    const QString l = t.left(field.selectionStart);
    const QString r = t.mid(field.selectionStart + field.selectionLength);
    const QString s = l + r;
    const QString n = l + k + r;

    const bool special = k == u'-' || k == u'E' || k == u'e' || k == sep;
    if (!isAsciiDigit(k) && !special)
        return CharVerdict::Reject;
    if (special && s.contains(k))
        return CharVerdict::Reject;
    if (k == u'-' && !field.negativeAllowed)
        return CharVerdict::Reject;
    if (k == sep && field.decimals == 0)
        return CharVerdict::Reject;
    const qsizetype p = n.indexOf(sep);
    if (p >= 0 && n.size() - (p + 1) > field.decimals)
        return CharVerdict::Reject;
    if (k == u'-' && !l.isEmpty())
        return CharVerdict::Reject;
    if (n == QStringLiteral("-"))
        return CharVerdict::RewriteMinus;
    if (n == QString(sep))
        return CharVerdict::RewriteSeparator;
    return CharVerdict::Accept;
}
