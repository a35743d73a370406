// The label that keeps the pictures of its last texts paints what a fresh
// label paints, whatever texts, colours, states and sizes came before.
#include <QtTest>

#include "widgets/statictextlabel.h"

namespace {

const QString kLong = QStringLiteral("нет кавитации: перепад 0.71 атм не больше допустимого 1.09 атм");

// Applies one step: "text:…", "red", "disabled", "wrap" or "narrow".
void apply(StaticTextLabel &label, const QString &step)
{
    if (step.startsWith(QLatin1String("text:")))
        label.setText(step.mid(5));
    else if (step == QLatin1String("red")) {
        QPalette pal = label.palette();
        pal.setColor(QPalette::WindowText, QColor(192, 0, 0));
        label.setPalette(pal);
    } else if (step == QLatin1String("disabled"))
        label.setEnabled(false);
    else if (step == QLatin1String("wrap"))
        label.setWordWrap(true);
    else if (step == QLatin1String("narrow"))
        label.resize(120, 44);
}

} // namespace

class TestStaticTextLabel : public QObject
{
    Q_OBJECT

private slots:
    void paintsWhatAFreshLabelPaints_data()
    {
        QTest::addColumn<QStringList>("steps"); // each painted after it
        QTest::newRow("a new text") << QStringList{"text:0.64", "text:1.56"};
        QTest::newRow("a text that comes back") << QStringList{"text:0.64", "text:1.56", "text:0.64"};
        QTest::newRow("a third text pushes out the first")
            << QStringList{"text:0.64", "text:1.56", "text:2.25", "text:0.64"};
        QTest::newRow("a new colour") << QStringList{"text:" + kLong, "red", "text:" + kLong};
        QTest::newRow("disabled") << QStringList{"text:0.64", "disabled"};
        QTest::newRow("narrower, wrapped") << QStringList{"text:" + kLong, "wrap", "narrow"};
        QTest::newRow("emptied") << QStringList{"text:" + kLong, "text:"};
    }

    void paintsWhatAFreshLabelPaints()
    {
        QFETCH(QStringList, steps);
        StaticTextLabel label, fresh;
        for (StaticTextLabel *l : {&label, &fresh})
            l->resize(240, 44);
        for (const QString &step : steps) {
            apply(label, step);
            label.grab();
        }
        for (const QString &step : steps)
            apply(fresh, step);
        const QImage shown = label.grab().toImage();
        QCOMPARE(shown, fresh.grab().toImage());
        // a text leaves pixels of another colour than the background
        const QRgb background = shown.pixel(shown.width() - 1, shown.height() - 1);
        bool inked = false;
        for (int y = 0; y < shown.height() && !inked; ++y)
            for (int x = 0; x < shown.width() && !inked; ++x)
                inked = shown.pixel(x, y) != background;
        QCOMPARE(inked, !label.text().isEmpty());
    }
};

QTEST_MAIN(TestStaticTextLabel)
#include "test_statictextlabel.moc"
