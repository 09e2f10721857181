// The widget toolkit: status-bar placement rules, radio groups, skinned and standard
// buttons, and the common window base.
#include "core/data/MessageSink.h"
#include "platform/Fonts.h"
#include "toolkit/AppContext.h"
#include "toolkit/TBaseDlg.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/WindowScaling.h"

#include <QApplication>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace gf;

namespace gf::test {

class TstToolkit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerFontSubstitutes(); }

    void statusBarRules()
    {
        QWidget window;
        window.resize(800, 600);
        TStatusBar bar(&window);
        window.show();
        QCOMPARE(bar.geometry(), QRect(0, 560, 800, 40));
        QWidget a(&bar), b(&bar), c(&bar);
        a.resize(130, 30);
        b.resize(101, 30); // odd width: centred to the pixel
        c.resize(180, 24);

        bar.placeCentred(&a, &b, &c);
        QVERIFY(qAbs((b.x() + b.width() / 2.0) - 400) <= 0.5);
        QCOMPARE(b.x() - (a.x() + a.width()), 50);
        QCOMPARE(c.x() - (b.x() + b.width()), 50);
        QCOMPARE(a.y(), 5); // centred in the bar's height
        QCOMPARE(c.y(), 8);

        bar.placeAtEdges(&a, &c);
        QCOMPARE(a.x(), 50);
        QCOMPARE(c.x() + c.width(), 800 - 50);

        // stays at the foot, at its own (possibly scaled) height
        bar.resize(bar.width(), 51);
        window.resize(1024, 768);
        QCOMPARE(bar.geometry(), QRect(0, 768 - 51, 1024, 51));
    }

    void radioGroup()
    {
        QWidget window;
        TRadioGroup group(QStringLiteral("Frage:"), &window);
        group.setGeometry(10, 10, 233, 246);
        group.setItems({QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei")});
        QCOMPARE(group.itemIndex(), -1);
        QSignalSpy clicked(&group, &TRadioGroup::itemClicked);
        window.show();

        QTest::mouseClick(group.item(2), Qt::LeftButton, {}, QPoint(group.item(2)->width() - 3, 5));
        QCOMPARE(group.itemIndex(), 2);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().toInt(), 2);

        // cleared although the group allows one choice only; setting by program is no click
        group.setItemIndex(-1);
        QCOMPARE(group.itemIndex(), -1);
        group.setItemIndex(1);
        group.setItems(group.items());
        QCOMPARE(group.itemIndex(), -1);
        QCOMPARE(clicked.size(), 1);

        // scaling the group's geometry and font carries the options along
        ScaleControl(&group, 1.0, 1.28, 1.28);
        QCOMPARE(group.item(0)->font().pixelSize(), group.font().pixelSize());
        int previousBottom = 0;
        for (int i = 0; i < group.count(); ++i) {
            QVERIFY(group.rect().contains(group.item(i)->geometry()));
            QVERIFY(group.item(i)->y() >= previousBottom);
            previousBottom = group.item(i)->geometry().bottom();
        }
    }

    void skinButton()
    {
        QWidget window;
        TSkinButton button(QStringLiteral("Tür"), QSize(120, 90), &window);
        window.show();
        // the screen adaptation leaves it alone
        button.move(20, 30);
        ScaleControl(&button, 0.9, 1.28, 1.28);
        QCOMPARE(button.geometry(), QRect(20, 30, 120, 90));

        // a face picture replaces the drawn face
        QPixmap face(120, 90);
        face.fill(QColor(10, 200, 30));
        button.setText(QString());
        button.setFaces(face, QPixmap(), QPixmap());
        const QImage shot = button.grab().toImage();
        QCOMPARE(QColor(shot.pixel(5, 5)), QColor(10, 200, 30));
    }

    void baseWindow()
    {
        AppContext ctx;
        TBaseDlg dlg(ctx);
        QCOMPARE(dlg.makeButton(QStringLiteral("&Weiter"))->parentWidget(), dlg.statusBar());
        // Escape and the close box cancel
        QTimer::singleShot(0, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
        QCOMPARE(dlg.exec(), int(mrCancel));
        QTimer::singleShot(0, [&] { dlg.close(); });
        QCOMPARE(dlg.exec(), int(mrCancel));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstToolkit)
#include "tst_toolkit.moc"
