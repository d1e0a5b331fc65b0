#include "foundation/clock.h"
#include "history/historycsv.h"
#include "history/historyreport.h"
#include "history/u_historico.h"
#include "shell/forms.h"
#include "shell/u_principal.h"
#include "support/testsupport.h"
#include "till/tillmodel.h"

#include <QChart>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

using namespace TestSupport;

namespace {

QDateTime at(int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

// One evening's till: opened at 18:00, the sales at the given hours, closed at 23:00.
void evening(App& app, int day, const QStringList& salesByHour, const std::optional<QString>& counted) {
    TillModel& till = *app.forms->till;
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

} // namespace

class TestHistorico : public QObject {
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
                                                    "3;PASTEL;7,5;1;2;7,50\r\n"
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
        const auto chooser = Tf_historico::chooseFile;
        Tf_historico::chooseFile = [&](QWidget*, const QString& suggested) {
            offered << suggested;
            return out.filePath(offered.size() == 1 ? QStringLiteral("resumo") : QStringLiteral("lista.csv"));
        };

        Tf_principal* p = app.forms->f_principal;
        p->show();
        QVERIFY(QTest::qWaitForWindowActive(p));
        bool shown = false;
        whenModal(QStringLiteral("f_historico"), [&](QWidget* w) {
            shown = true;
            auto* h = static_cast<Tf_historico*>(w);
            QTableWidget* list = h->tbl_caixas;
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

            // Shift+Down adds the till before it; the product chart follows the choice.
            key(list, Qt::Key_Down, Qt::ShiftModifier);
            QCOMPARE(h->summary().tills.size(), 2);
            QCOMPARE(h->summary().salesCents, 1600);
            QCOMPARE(h->tbl_resumo->rowCount(), 3);
            QCOMPARE(h->chart_produtos->series().size(), 1);
            QVERIFY(h->l_totais->text().contains(QStringLiteral("-2,50")));

            // A period: 09/12 to 10/12.
            h->dt_de->setDate(QDate(2026, 12, 9));
            h->dt_ate->setDate(QDate(2026, 12, 10));
            QTest::mouseClick(h->bt_periodo, Qt::LeftButton);
            QCOMPARE(h->summary().tills.size(), 2);
            QCOMPARE(h->summary().salesCents, 3200);
            QCOMPARE(h->summary().hours.size(), 5); // 19h and 20h, then 19h to 21h

            QTest::mouseClick(h->bt_csv_resumo, Qt::LeftButton);
            QTest::mouseClick(h->bt_csv_lista, Qt::LeftButton);
            QTest::mouseClick(h->bt_imprimir, Qt::LeftButton);
            QTest::mouseClick(h->bt_fechar, Qt::LeftButton);
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
             {"RESUMO DE CAIXAS", "Caixas: 1, 2", "Período: 09/12/2026 a 10/12/2026", "CERVEJA (6,00)",
              "32,00", "R$ Contado (2 de 2 caixas):", "-2,50", "10/12 20h"})
            QVERIFY2(printed.contains(QString::fromUtf8(expected)), expected);
        Tf_historico::chooseFile = chooser;
    }
};

QUORVANTA_TEST_MAIN(TestHistorico)
#include "tst_historico.moc"
