// The windows on a laptop's screen: run for a 1024×768 and a 1366×768 screen (the QUORVANTA_SCREEN
// variable, "WIDTHxHEIGHT") on an offscreen screen of that size, and on a real X server of its own with a
// window manager (QUORVANTA_TEST_DISPLAY set: the display given), where the window system keeps the
// pixels a scroll moves.
#include "core/db/datamodule.h"
#include "core/festa/festadesk.h"
#include "core/festa/festajournalstore.h"
#include "core/till/tillmodel.h"
#include "gui/common/form.h"
#include "gui/sales/salegrid.h"
#include "gui/sales/saleswindow.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"
#include "support/festasupport.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

using namespace TestSupport;

namespace {

// Twenty products, the longest names a festa uses.
const char* const names[] = {
    "ÁGUA",         "REFRIGERANTE",  "CERVEJA",          "PASTEL DE CARNE", "CACHORRO-QUENTE",
    "PIPOCA",       "PÉ DE MOLEQUE", "CHOCOLATE QUENTE", "SUCO DE LARANJA", "QUENTÃO",
    "VINHO QUENTE", "PAÇOCA",        "MILHO VERDE",      "PAMONHA",         "CANJICA",
    "BOLO DE FUBÁ", "ARROZ DOCE",    "CURAU DE MILHO",   "MAÇÃ DO AMOR",    "ESPETINHO MISTO"};

QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The part of a widget its window shows: the whole widget when nothing cuts it.
bool wholeInItsWindow(QWidget* w) {
    const QRect inWindow(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    return w->isVisible() && w->window()->rect().contains(inWindow);
}

// The window as the window system holds it (what was painted so far), over one widget.
QImage painted(QWidget* w) {
    const QPoint at = w->mapTo(w->window(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestScreens : public QObject {
    Q_OBJECT

private slots:
    void theScreenIsTheOneAskedFor() {
        const QByteArray size = qgetenv("QUORVANTA_SCREEN");
        QCOMPARE(QStringLiteral("%1x%2").arg(available().width()).arg(available().height()),
                 QString::fromLatin1(size.isEmpty() ? "1024x768" : size));
    }

    // Every product readable without scrolling, the figures, clock and printer line on the screen, and
    // a long sale's rows painted as they are, however the grid scrolled.
    void salesScreen() {
        App app;
        for (int i = 0; i < 20; ++i)
            app.db.exec(
                QStringLiteral("update tbl_produtos set produto = '%1', valor = '2,50' where id = '%2'")
                    .arg(QString::fromUtf8(names[i]))
                    .arg(QStringLiteral("0123456789abcdefghij").at(i)));
        setTillOpen(app);
        SalesWindow* c = app.app->f_caixa;
        bool ran = false;
        whenModal(QStringLiteral("f_caixa"), [&](QWidget*) {
            QTRY_VERIFY(c->isActiveWindow());
            QVERIFY(available().contains(c->frameGeometry()));
            for (const char* name : {"GroupBox1", "GroupBox2", "GroupBox3", "v_total1", "edt_entrada",
                                     "edt_troco", "lhora", "l_impressora", "SpeedButton1"})
                QVERIFY2(wholeInItsWindow(child(c, QLatin1String(name))), name);

            auto* products = child<QTableView>(c, QStringLiteral("DBGrid1"));
            QCOMPARE(products->model()->rowCount(), 20);
            QVERIFY(!products->verticalScrollBar()->isVisible());
            const QFontMetrics fm(products->font());
            for (int row = 0; row < 20; ++row) {
                const QModelIndex name = products->model()->index(row, 1);
                QVERIFY(products->viewport()->rect().contains(products->visualRect(name)));
                QVERIFY2(fm.horizontalAdvance(name.data().toString()) < products->visualRect(name).width(),
                         names[row]);
            }

            auto* sale = child<SaleGrid>(c, QStringLiteral("DBGrid2"));
            for (int i = 0; i < 30; ++i) {
                QTest::keyClick(c->windowHandle(), "0123456789abcdefghij"[i % 20]);
                QCoreApplication::processEvents();
            }
            QCOMPARE(sale->model()->rowCount(), 30);
            // the last line shows at the bottom, and what was painted key by key (the grid, its scroll
            // bar, the figures) is what the window painted afresh shows
            QVERIFY(sale->viewport()->rect().contains(sale->visualRect(sale->model()->index(29, 1))));
            const QImage afresh = c->grab().toImage().convertToFormat(QImage::Format_RGB32);
            for (const char* name : {"GroupBox2", "v_total1_caixa", "edt_entrada_caixa"}) {
                QWidget* part = child(c, QLatin1String(name));
                QVERIFY2(painted(part) == afresh.copy(QRect(part->mapTo(c, QPoint(0, 0)), part->size())),
                         name);
            }

            // a copied desk's stop, told whole in the festa's three lines (with a catalogue's version)
            FestaJournalStore::setStopped(app.app->dm->database(), festaCopyStop());
            FestaSettings nowhere;
            nowhere.host = QStringLiteral("127.0.0.1");
            nowhere.port = freePort();
            FestaDesk desk(app.app->dm->database(), *app.app->till, nowhere, quickTiming());
            c->setFesta(&desk);
            auto* line = child<QLabel>(c, QStringLiteral("l_festa"));
            QTRY_VERIFY(line->text().startsWith(QStringLiteral("Festa: ENVIO PARADO — ")));
            QVERIFY(wholeInItsWindow(line));
            const QString longest = line->text() + QStringLiteral(" · catálogo v99");
            const QRect need =
                QFontMetrics(line->font())
                    .boundingRect(line->contentsRect(), Qt::TextWordWrap | Qt::AlignHCenter, longest);
            QVERIFY2(
                need.height() <= line->contentsRect().height(),
                qPrintable(
                    QStringLiteral("%1 px for %2").arg(need.height()).arg(line->contentsRect().height())));
            c->setFesta(nullptr);
            ran = true;
            c->closeTill();
        });
        c->showModal();
        QVERIFY(ran);
    }

    // From the keyboard: Esc leaves the windows that only show things (the partial view also with Enter
    // and Space, as nothing there takes the focus), Tab leaves the products grid, and a window opened
    // from another is kept above it by the window manager.
    void keyboardWaysOut_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        for (const char* w : {"f_parcial", "f_atalhos", "f_about"})
            QTest::addRow("%s Esc", w) << QString::fromLatin1(w) << int(Qt::Key_Escape);
        for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Space})
            QTest::addRow("f_parcial %d", int(k)) << QStringLiteral("f_parcial") << int(k);
    }
    void keyboardWaysOut() {
        QFETCH(QString, window);
        QFETCH(int, key);
        App app;
        MainWindow* opener = app.app->f_principal;
        opener->show();
        QVERIFY(QTest::qWaitForWindowActive(opener));
        Form* shown = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == window) shown = qobject_cast<Form*>(w);
        QVERIFY(shown);
        bool over = false;
        whenModal(window, [&](QWidget* w) {
            over = w->windowHandle()->transientParent() == opener->windowHandle();
            QTest::keyClick(w->windowHandle(), Qt::Key(key));
        });
        QTimer::singleShot(3000, shown, &QDialog::reject); // ends a window the key did not close
        QElapsedTimer open;
        open.start();
        shown->showModal();
        QVERIFY(open.elapsed() < 2500);
        QVERIFY(over);
        QVERIFY(!shown->windowHandle()->transientParent()); // the next opener may be another window
    }

    void tabLeavesTheProductsGrid() {
        App app;
        app.app->f_principal->show();
        QVERIFY(QTest::qWaitForWindowActive(app.app->f_principal));
        QString afterTab;
        whenModal(QStringLiteral("f_config"), [&](QWidget* w) {
            const auto focused = [] {
                return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            };
            QTRY_COMPARE(focused(), QStringLiteral("DBGrid1"));
            QTest::keyClick(w->windowHandle(), Qt::Key_Tab);
            afterTab = focused();
            static_cast<QDialog*>(w)->reject();
        });
        QTest::keyClick(app.app->f_principal->windowHandle(), Qt::Key_F5);
        QCOMPARE(afterTab, QStringLiteral("DBEdit2"));
    }

    // Each window and dialog opens inside the screen's free area.
    void everyWindowInsideTheScreen() {
        App app;
        app.app->newSheet();
        app.app->historico();
        int seen = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->objectName().startsWith(QLatin1String("f_")) ||
                w->objectName() == QLatin1String("f_caixa"))
                continue;
            w->show();
            QVERIFY2(available().contains(w->frameGeometry()), qPrintable(w->objectName()));
            w->hide();
            ++seen;
        }
        QVERIFY(seen >= 20);
    }
};

int main(int argc, char** argv) {
    // An offscreen screen of the size asked for, unless told to use the display given.
    const QByteArray size = qgetenv("QUORVANTA_SCREEN");
    if (qEnvironmentVariableIsEmpty("QUORVANTA_TEST_DISPLAY"))
        offscreenOfSize(size.isEmpty() ? "1024x768" : size);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestScreens tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_screens.moc"
