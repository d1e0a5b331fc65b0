#include "core/base/clock.h"
#include "core/history/historycsv.h"
#include "core/reports/historyreport.h"
#include "core/till/tillmodel.h"
#include "gui/history/historywindow.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"
#include "support/pdfprobe.h"
#include "support/testsupport.h"

#include <QChart>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryFile>
#include <algorithm>

using namespace TestSupport;

namespace {

QDateTime at(int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

// One evening's till: opened at 18:00, the sales at the given hours, closed at 23:00.
void evening(App& app, int day, const QStringList& salesByHour, const std::optional<QString>& counted) {
    TillModel& till = *app.app->till;
    Clock::setFixed(at(day, 18));
    till.open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), Clock::dateText(), Clock::timeText(),
               QStringLiteral("20")},
              till.nextNumber());
    for (int i = 0; i < salesByHour.size(); ++i) {
        Clock::setFixed(at(day, 19 + i));
        for (const QChar k : salesByHour[i])
            till.addLine(k);
        till.bookSale();
        till.clearSale();
    }
    Clock::setFixed(at(day, 23));
    till.close(counted, QStringLiteral("ANA"));
}

HistoryStore::ClosedTill closedTill(qint64 number, const QString& responsible,
                                    std::optional<qint64> counted) {
    HistoryStore::ClosedTill t;
    t.number = number;
    t.responsible = responsible;
    t.operatorName = QStringLiteral("JOSÉ");
    t.closedBy = QStringLiteral("ANA; CIA");
    t.openedAt = at(10, 18);
    t.closedAt = at(10, 23, 30);
    t.floatCents = 3000;
    t.salesCents = 1400;
    t.withdrawnCents = 500;
    t.withdrawals = 1;
    t.expectedCents = 3900;
    t.countedCents = counted;
    return t;
}

// One closed till of 12/12 straight in the history's tables, having sold these products.
void soldInOneTill(App& app, const QList<HistoryStore::ProductSold>& products) {
    app.db.exec(
        QStringLiteral("INSERT INTO tbl_hist_caixas (id, numero, responsavel, operador, fechado_por, "
                       "abertura_data, abertura_hora, aberto_em, fechado_em, entrada_centavos, "
                       "vendas_centavos, sangria_centavos, sangrias, esperado_centavos, "
                       "contado_centavos) VALUES (1, 1, 'MARIA', 'JOSE', 'ANA', '12/12/2026', "
                       "'18:00:00', '2026-12-12T18:00:00', '2026-12-12T23:00:00', 0, 0, 0, 0, 0, 0)"));
    for (const HistoryStore::ProductSold& p : products)
        app.db.exec(QStringLiteral("INSERT INTO tbl_hist_produtos VALUES (1, '%1', '%2', '%3', %4, %5, %6)")
                        .arg(p.key, p.name, p.price)
                        .arg(p.units)
                        .arg(p.tickets)
                        .arg(p.cents));
}

// The visible texts a chart draws beyond one side of its plot area (an axis's labels), from the bottom
// up or from left to right as they read.
QStringList axisLabels(QChart* chart, Qt::Edge side) {
    const QRectF plot = chart->plotArea();
    QList<std::pair<double, QString>> found;
    for (QGraphicsItem* i : chart->scene()->items()) {
        const auto* t = dynamic_cast<QGraphicsTextItem*>(i);
        if (!t || !t->isVisible() || t->toPlainText().isEmpty()) continue;
        const QRectF r = t->sceneBoundingRect();
        if (side == Qt::LeftEdge && r.right() <= plot.left() + 1)
            found.append({-r.center().y(), t->toPlainText()});
        if (side == Qt::BottomEdge && r.top() >= plot.bottom() - 1)
            found.append({r.center().x(), t->toPlainText()});
    }
    std::sort(found.begin(), found.end());
    QStringList out;
    for (const auto& f : found)
        out << f.second;
    return out;
}

// One value axis per chart, labelled with whole numbers from 0 at even steps: no label twice, nothing left
// over from an earlier choice.
void checkValueAxes(HistoryWindow* h) {
    QCoreApplication::processEvents(); // the charts lay out (deferred deletions do not run)
    for (const auto& [chart, side] :
         {std::pair(h->chart_produtos, Qt::BottomEdge), std::pair(h->chart_horas, Qt::LeftEdge)}) {
        QCOMPARE(chart->axes().size(), 2);
        const QStringList labels = axisLabels(chart, side);
        QVERIFY2(labels.size() >= 2 && labels.first() == QLatin1String("0"), qPrintable(labels.join(' ')));
        for (qsizetype i = 2; i < labels.size(); ++i)
            QVERIFY2(labels[i].toInt() - labels[i - 1].toInt() == labels[1].toInt() && labels[1].toInt() > 0,
                     qPrintable(labels.join(' ')));
    }
}

} // namespace

class TestHistoryWindow : public QObject {
    Q_OBJECT
private slots:
    // The files, byte for byte: byte-order mark, semicolons, decimal comma, dd/MM/yyyy, CR LF; text with a
    // separator quoted, text a spreadsheet would take for a formula neutralised, amounts left as numbers.
    void csvBytes() {
        const QList<HistoryStore::ClosedTill> tills = {
            closedTill(2, QStringLiteral("=MARIA"), 3650),
            closedTill(1, QStringLiteral("ZÉ \"BOLA\""), std::nullopt)};
        QCOMPARE(HistoryCsv::tillList(tills),
                 QByteArray(
                     "\xEF\xBB\xBF"
                     "Caixa;Data abertura;Hora abertura;Data fechamento;Hora fechamento;Respons\xC3\xA1vel;"
                     "Operador;Fechado por;Entrada;Vendas;Sangria;Sangrias;Esperado;Contado;Diferen\xC3\xA7"
                     "a\r\n"
                     "2;10/12/2026;18:00:00;10/12/2026;23:30:00;'=MARIA;JOS\xC3\x89;\"ANA; CIA\";30,00;14,00;"
                     "5,00;1;39,00;36,50;-2,50\r\n"
                     "1;10/12/2026;18:00:00;10/12/2026;23:30:00;\"Z\xC3\x89 \"\"BOLA\"\"\";JOS\xC3\x89;"
                     "\"ANA; CIA\";30,00;14,00;5,00;1;39,00;;\r\n"));

        HistorySummary::Summary s;
        s.products = {{"0", QStringLiteral("ÁGUA"), "2,00", 3, 3, 600}, {"3", "PASTEL", "7,5", 1, 2, 750}};
        s.units = 4;
        s.tickets = 5;
        s.salesCents = 1350;
        s.hours = {{at(9, 19), 1350, 2}, {at(9, 20), 0, 0}};
        QCOMPARE(HistoryCsv::summary(s), QByteArray("\xEF\xBB\xBF"
                                                    "C\xC3\xB3"
                                                    "digo;Produto;Pre\xC3\xA7o;Unidades;Fichas;Valor\r\n"
                                                    "0;\xC3\x81GUA;2,00;3;3;6,00\r\n"
                                                    "3;PASTEL;7,50;1;2;7,50\r\n"
                                                    "Total;;;4;5;13,50\r\n"
                                                    "\r\n"
                                                    "Data;Hora;Vendas;Valor\r\n"
                                                    "09/12/2026;19:00;2;13,50\r\n"
                                                    "09/12/2026;20:00;0;0,00\r\n"));
    }

    // From the main window's F9: the list newest first, a choice of tills and a period, the charts, the
    // files written where the user chose and the printed summary.
    void windowListsSummarisesExportsAndPrints() {
        App app;
        evening(app, 9, {QStringLiteral("01"), QStringLiteral("22")}, QStringLiteral("38,00"));
        evening(app, 10, {QStringLiteral("4"), QString(), QStringLiteral("55")}, QStringLiteral("31,50"));
        evening(app, 11, {QStringLiteral("0")}, std::nullopt);
        QTemporaryDir out;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", out.path().toUtf8()); // the default folder is made there
        QStringList offered;
        const auto chooser = HistoryWindow::chooseFile;
        HistoryWindow::chooseFile = [&](QWidget*, const QString& suggested) {
            offered << suggested;
            return out.filePath(offered.size() == 1 ? QStringLiteral("resumo") : QStringLiteral("lista.csv"));
        };

        MainWindow* p = app.app->f_principal;
        p->show();
        QVERIFY(QTest::qWaitForWindowActive(p));
        bool shown = false;
        whenModal(QStringLiteral("f_historico"), [&](QWidget* w) {
            shown = true;
            auto* h = static_cast<HistoryWindow*>(w);
            QTableWidget* list = child<QTableWidget>(h, QStringLiteral("tbl_caixas"));
            QCOMPARE(list->rowCount(), 3);
            QStringList first, second;
            for (int c = 0; c < list->columnCount(); ++c) {
                first << list->item(0, c)->text();
                second << list->item(1, c)->text();
            }
            QCOMPARE(first, QStringList({"3", "11/12/2026", "MARIA", "2,00", "0,00", "22,00", "—", "—"}));
            QCOMPARE(second,
                     QStringList({"2", "10/12/2026", "MARIA", "14,00", "0,00", "34,00", "31,50", "-2,50"}));
            QTRY_VERIFY(list->hasFocus());
            QCOMPARE(h->summary().tills.size(), 1); // the last till closed, chosen at first
            checkValueAxes(h);

            // Shift+Down adds the till before it; the product chart follows the choice.
            key(list, Qt::Key_Down, Qt::ShiftModifier);
            QCOMPARE(h->summary().tills.size(), 2);
            QCOMPARE(h->summary().salesCents, 1600);
            QCOMPARE(child<QTableWidget>(h, QStringLiteral("tbl_resumo"))->rowCount(), 3);
            QCOMPARE(h->chart_produtos->series().size(), 1);
            QVERIFY(child<QLabel>(h, QStringLiteral("l_totais"))->text().contains(QStringLiteral("-2,50")));
            checkValueAxes(h);

            // A period: 09/12 to 10/12.
            child<QDateEdit>(h, QStringLiteral("dt_de"))->setDate(QDate(2026, 12, 9));
            child<QDateEdit>(h, QStringLiteral("dt_ate"))->setDate(QDate(2026, 12, 10));
            QTest::mouseClick(child<QPushButton>(h, QStringLiteral("bt_periodo")), Qt::LeftButton);
            QCOMPARE(h->summary().tills.size(), 2);
            QCOMPARE(h->summary().salesCents, 3200);
            QCOMPARE(h->summary().hours.size(), 5); // 19h and 20h, then 19h to 21h
            checkValueAxes(h);
            if (QTest::currentTestFailed()) return;

            QTest::mouseClick(child<QPushButton>(h, QStringLiteral("bt_csv_resumo")), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(h, QStringLiteral("bt_csv_lista")), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(h, QStringLiteral("bt_imprimir")), Qt::LeftButton);

            // A period without a closed till empties everything and says so.
            child<QDateEdit>(h, QStringLiteral("dt_de"))->setDate(QDate(2026, 11, 1));
            child<QDateEdit>(h, QStringLiteral("dt_ate"))->setDate(QDate(2026, 11, 2));
            QTest::mouseClick(child<QPushButton>(h, QStringLiteral("bt_periodo")), Qt::LeftButton);
            QVERIFY(child<QLabel>(h, QStringLiteral("l_totais"))
                        ->text()
                        .contains(QStringLiteral("Nenhum caixa fechado no período")));
            QVERIFY(list->selectionModel()->selectedRows().isEmpty());
            QCOMPARE(child<QTableWidget>(h, QStringLiteral("tbl_resumo"))->rowCount(), 0);
            QCoreApplication::processEvents();
            for (QChart* chart : {h->chart_produtos, h->chart_horas}) {
                QVERIFY(chart->series().isEmpty());
                QVERIFY(axisLabels(chart, Qt::LeftEdge).isEmpty());
                QVERIFY(axisLabels(chart, Qt::BottomEdge).isEmpty());
            }
            QTest::mouseClick(child<QPushButton>(h, QStringLiteral("bt_fechar")), Qt::LeftButton);
        });
        key(p, Qt::Key_F9);
        QVERIFY(shown);
        p->hide();

        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered[0],
                 out.filePath(QStringLiteral("quorvanta/relatorios/resumo-caixas-20261211-230000.csv")));
        QVERIFY(QFileInfo(out.filePath(QStringLiteral("quorvanta/relatorios"))).isDir());
        qputenv("HOME", home);
        QFile summary(out.filePath(QStringLiteral("resumo.csv"))); // the extension added
        QVERIFY(summary.open(QIODevice::ReadOnly));
        const QByteArray bytes = summary.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.contains("Total;;;7;7;32,00\r\n"));
        QVERIFY(QFile::exists(out.filePath(QStringLiteral("lista.csv"))));

        const auto jobs = app.printer.jobsOf(QStringLiteral("qr_historico"));
        QCOMPARE(jobs.size(), 1);
        const QString printed = jobs.first().allTexts.join(QLatin1Char('|'));
        for (const char* expected :
             {"RESUMO DE CAIXAS", "Caixas: 1, 2", "Período: 09/12/2026 a 10/12/2026", "CERVEJA|6,00",
              "Vendidos", "Fichas", "32,00", "R$ Contado (2 de 2 caixas):", "-2,50", "10/12 20h"})
            QVERIFY2(printed.contains(QString::fromUtf8(expected)), expected);
        HistoryWindow::chooseFile = chooser;
    }

    // On each screen (offscreen: 1024 x 768 and 1366 x 768) the window opens inside the free area with
    // its buttons and totals in it, names every product on the units chart, heads units sold and tickets
    // apart, shows prices as money, and closes with Esc.
    void windowFitsTheScreen_data() {
        QTest::addColumn<int>("screen");
        for (int i = 0; i < QGuiApplication::screens().size(); ++i)
            QTest::addRow("%dx%d", QGuiApplication::screens()[i]->size().width(),
                          QGuiApplication::screens()[i]->size().height())
                << i;
    }
    void windowFitsTheScreen() {
        QFETCH(int, screen);
        App app;
        QList<HistoryStore::ProductSold> products = {{"0", "SUCO DE LARANJA", "2,5", 1, 2, 250}};
        QStringList names = {QStringLiteral("SUCO DE LARANJA")};
        for (int i = 1; i < 20; ++i) {
            const QString name = QStringLiteral("BARRACA %1 CALDO DE CANA").arg(i, 2, 10, QLatin1Char('0'));
            products.append(
                {QString(QStringLiteral("0123456789abcdefghij")[i]), name, "3,00", i, i, 300 * i});
            names << name;
        }
        soldInOneTill(app, products);
        QScreen* s = QGuiApplication::screens()[screen];
        HistoryWindow* h = app.app->historico();
        h->setScreen(s);
        bool shown = false;
        whenModal(QStringLiteral("f_historico"), [&](QWidget*) {
            shown = true;
            QTRY_VERIFY(s->availableGeometry().contains(h->frameGeometry()));
            for (QWidget* w : QList<QWidget*>{child<QPushButton>(h, QStringLiteral("bt_csv_resumo")),
                                              child<QPushButton>(h, QStringLiteral("bt_csv_lista")),
                                              child<QPushButton>(h, QStringLiteral("bt_imprimir")),
                                              child<QPushButton>(h, QStringLiteral("bt_fechar")),
                                              child<QLabel>(h, QStringLiteral("l_totais"))}) {
                QVERIFY2(w->isVisible() && h->rect().contains(QRect(w->mapTo(h, QPoint()), w->size())),
                         qPrintable(w->objectName()));
            }
            QVERIFY(child<QLabel>(h, QStringLiteral("l_totais"))->height() >=
                    child<QLabel>(h, QStringLiteral("l_totais"))
                        ->heightForWidth(child<QLabel>(h, QStringLiteral("l_totais"))->width()));

            QTRY_COMPARE(axisLabels(h->chart_produtos, Qt::LeftEdge),
                         QStringList(names.rbegin(), names.rend()));
            QStringList headings, first;
            for (int c = 0; c < child<QTableWidget>(h, QStringLiteral("tbl_resumo"))->columnCount(); ++c) {
                headings
                    << child<QTableWidget>(h, QStringLiteral("tbl_resumo"))->horizontalHeaderItem(c)->text();
                first << child<QTableWidget>(h, QStringLiteral("tbl_resumo"))->item(0, c)->text();
            }
            QCOMPARE(headings, QStringList({"Cód.", "Produto", "Preço", "Vendidos", "Fichas", "Valor"}));
            QCOMPARE(first, QStringList({"0", "SUCO DE LARANJA", "2,50", "1", "2", "2,50"}));

            keyActive(Qt::Key_Escape);
            QTRY_VERIFY(!h->isVisible());
        });
        h->showModal();
        QVERIFY(shown);
    }

    // The printed page holds every word of a long name and of wide figures whole: each word's ink reaches
    // its end (nothing clipped), no word runs into another, all of them on the paper.
    void printedSummaryCutsNothing() {
        if (!PdfProbe::available()) QSKIP("poppler-utils not installed");
        HistorySummary::Summary s;
        s.tills = {closedTill(12345, QStringLiteral("MARIA"), 123456789)};
        s.products = {{"0", QStringLiteral("SUCO DE LARANJA COM ACEROLA"), "5", 12, 24, 6000},
                      {"1", QString(25, QLatin1Char('W')), "1234567,5", 123456, 246912, 15241567890},
                      {"j", QStringLiteral("ÁGUA"), "2,5", 1, 1, 250}};
        s.units = 123469;
        s.tickets = 246937;
        s.salesCents = s.countedCents = 15241574140;
        s.counted = 1;
        s.hours = {{at(10, 19), 15241574140, 123456}};
        QTemporaryDir dir;
        const QString file = SystemPrintSink::writePdf(
            *HistoryReport::build(
                s, QStringLiteral("QUERMESSE DA PARÓQUIA DE SÃO JOÃO BATISTA DO BAIRRO ALTO"), at(11, 9)),
            dir.path());
        const QList<PdfProbe::Word> words = PdfProbe::words(file);
        const double dpm = 300 / 25.4;
        const QImage page = PdfProbe::render(file, 300);
        const QRectF paper(QPointF(), QSizeF(page.size()) / dpm);
        for (qsizetype i = 0; i < words.size(); ++i) {
            const PdfProbe::Word& w = words[i];
            const QString where = QStringLiteral("%1 at %2,%3 - %4")
                                      .arg(w.text)
                                      .arg(w.mm.left())
                                      .arg(w.mm.top())
                                      .arg(w.mm.right());
            QVERIFY2(paper.contains(w.mm), qPrintable(where));
            QVERIFY2(Ink::box(page, w.mm, dpm).right() >= w.mm.right() - 0.5, qPrintable(where));
            for (qsizetype j = 0; j < i; ++j) {
                const QRectF both = words[j].mm.intersected(w.mm);
                QVERIFY2(both.width() < 0.3 || both.height() < 0.3,
                         qPrintable(where + " / " + words[j].text));
            }
        }
        for (const char* phrase :
             {"SUCO DE LARANJA COM ACEROLA", "5,00 12 24 60,00", "1234567,50 123456 246912 152415678,90",
              "QUERMESSE DA PARÓQUIA DE SÃO JOÃO BATISTA DO BAIRRO ALTO", "2,50"})
            QVERIFY2(!PdfProbe::find(words, QString::fromUtf8(phrase)).isNull(), phrase);
    }
};

// On the offscreen platform, two screens of the sizes the window must fit, side by side.
int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QTemporaryFile screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.open()) {
        screens.write(R"({"screens": [
            {"name": "small", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "dpr": 1},
            {"name": "wide", "x": 1024, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestHistoryWindow tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_historywindow.moc"
