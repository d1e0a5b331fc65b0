// The treasurer's panel against a real festa server of the test's own, with two desks selling in this
// process: the figures it shows are the server's and follow the desks live, a desk behind makes the
// totals partial and a copied desk file shows in red until the treasurer chooses which desk keeps its
// identity, the catalogue is saved
// only with the administrator's password and a valid price, and the closed tills of every desk are
// listed and exported.
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/desk/desktill.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festadesk.h"
#include "core/festa/festajournalstore.h"
#include "core/till/tillmodel.h"
#include "gui/festa/festaclosedtillspage.h"
#include "gui/festa/festapanelwindow.h"
#include "gui/festa/festatable.h"
#include "support/festasupport.h"
#include "support/testsupport.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

using namespace TestSupport;

namespace {

// A desk of the festa in this process: its file, its till and its upload.
struct Desk {
    Desk(const TestPgServer& pg, const QString& name) : settings(pg.deskSettings(name)) {
        db = std::make_unique<Database>(file.path());
        till = std::make_unique<DeskTill>(*db);
        connect();
        till->open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), QStringLiteral("10/12/2026"),
                    QStringLiteral("18:00:00"), QStringLiteral("50,00")},
                   till->nextNumber());
    }
    void connect() { festa = std::make_unique<FestaDesk>(*db, *till, settings, quickTiming()); }
    void sell(const QString& sales) {
        for (const QString& keys : sales.split(QLatin1Char(' '))) {
            for (const QChar k : keys)
                till->addLine(k);
            till->bookSale();
            till->clearSale();
        }
    }
    bool synced() const { return festa && festa->state().connected && DeskJournal::waiting(*db) == 0; }
    QString id() const { return FestaJournalStore::desk(*db).deskId; }

    TestDatabase file;
    FestaSettings settings;
    std::unique_ptr<Database> db;
    std::unique_ptr<TillModel> till;
    std::unique_ptr<FestaDesk> festa;
};

QString cell(QTableWidget* t, int row, int column) {
    const QTableWidgetItem* i = t->item(row, column);
    return i ? i->text() : QString();
}

int rowWhere(QTableWidget* t, int column, const QString& text) {
    for (int r = 0; r < t->rowCount(); ++r)
        if (cell(t, r, column) == text) return r;
    return -1;
}

} // namespace

class TestFestaPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<TestPgServer> m_pg;
    std::unique_ptr<Desk> m_desk1, m_desk2;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<FestaPanelWindow> m_panel;
    int m_adminAsked = 0;
    bool m_adminGiven = false;

    template <class T = QWidget> T* w(const QString& name) { return child<T>(m_panel.get(), name); }

    // The products table's row of that key, as its heading names it ("1  CERVEJA").
    int productRow(const QString& key) {
        auto* t = w<QTableWidget>(QStringLiteral("tbl_produtos"));
        for (int r = 0; r < t->rowCount(); ++r)
            if (t->verticalHeaderItem(r)->text().startsWith(key + QStringLiteral("  "))) return r;
        return -1;
    }

private slots:
    void initTestCase() {
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql/15/bin/postgres")))
            QSKIP("PostgreSQL 15 is not installed (Debian package postgresql-15)");
        m_pg = std::make_unique<TestPgServer>();
        QVERIFY2(m_pg->problem().isEmpty(), qPrintable(m_pg->problem()));
        m_messages = std::make_unique<MessageRecorder>();
        m_desk1 = std::make_unique<Desk>(*m_pg, QStringLiteral("Caixa 1"));
        m_desk2 = std::make_unique<Desk>(*m_pg, QStringLiteral("Caixa 2"));
        m_desk1->sell(QStringLiteral("01 1 12"));
        m_desk1->till->withdraw(QStringLiteral("10,00"));
        m_desk2->sell(QStringLiteral("00 2"));
        QTRY_VERIFY_WITH_TIMEOUT(m_desk1->synced() && m_desk2->synced(), 20000);
        m_panel = std::make_unique<FestaPanelWindow>(m_pg->treasurer(), [this] {
            ++m_adminAsked;
            return m_adminGiven;
        });
    }
    void cleanupTestCase() {
        m_panel.reset();
        m_desk1.reset();
        m_desk2.reset();
    }

    void showsTheServersFiguresAndFollowsTheDesks() {
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
        auto* tabs = w<QTabWidget>(QStringLiteral("tab_paginas"));
        QTest::keyClick(m_panel.get(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 1);
        QTest::keyClick(m_panel.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        auto* products = w<QTableWidget>(QStringLiteral("tbl_produtos"));
        auto* desks = w<QTableWidget>(QStringLiteral("tbl_caixas"));
        QTRY_VERIFY(productRow(QStringLiteral("1")) >= 0);
        // the festa's pair first, then one pair per desk, in the desks' order
        QCOMPARE(products->horizontalHeaderItem(2)->text(), QStringLiteral("Caixa 1\nunid."));
        QCOMPARE(products->horizontalHeaderItem(5)->text(), QStringLiteral("Caixa 2\nR$"));
        const auto server = [&](const QString& where) {
            const QStringList f = m_pg->sql(QStringLiteral("SELECT sum(unidades), sum(centavos) FROM "
                                                           "festa.totais_produto WHERE %1")
                                                .arg(where))
                                      .split(QLatin1Char('|'));
            return QStringList{f.value(0), Cents(f.value(1).toLongLong()).text()};
        };
        const auto shown = [&](int row, int pair) {
            return QStringList{cell(products, row, 2 * pair), cell(products, row, 2 * pair + 1)};
        };
        const int total = products->rowCount() - 1;
        QCOMPARE(products->verticalHeaderItem(total)->text(), QStringLiteral("TOTAL"));
        QCOMPARE(shown(productRow(QStringLiteral("1")), 0), server(QStringLiteral("chave = '1'")));
        QCOMPARE(shown(productRow(QStringLiteral("0")), 2),
                 server(QStringLiteral("chave = '0' AND caixa = '%1'").arg(m_desk2->id())));
        QCOMPARE(shown(total, 0), server(QStringLiteral("true")));
        QCOMPARE(shown(productRow(QStringLiteral("1")), 2), (QStringList{"—", "—"})); // desk 2 sold none

        // each desk's cash as the desk itself holds it, and its contact a moment ago
        const int row1 = rowWhere(desks, 0, QStringLiteral("Caixa 1"));
        QCOMPARE(cell(desks, row1, 8), m_desk1->till->cash());
        QCOMPARE(cell(desks, row1, 6), QStringLiteral("1"));
        QCOMPARE(cell(desks, row1, 7), QStringLiteral("10,00"));
        QVERIFY2(cell(desks, row1, 2).startsWith(QStringLiteral("há ")), qPrintable(cell(desks, row1, 2)));
        QVERIFY(!w(QStringLiteral("l_parcial"))->isVisible());

        // a sale on a desk reaches the panel without a key pressed
        m_desk2->sell(QStringLiteral("2"));
        const int row2 = rowWhere(desks, 0, QStringLiteral("Caixa 2"));
        QTRY_COMPARE_WITH_TIMEOUT(cell(desks, row2, 8), m_desk2->till->cash(), 10000);
        QCOMPARE(shown(productRow(QStringLiteral("2")), 0), server(QStringLiteral("chave = '2'")));
    }

    void aDeskBehindMakesTheTotalsPartialUntilItCatchesUp() {
        m_desk2->festa.reset(); // its network is gone: it sells on and keeps the rows
        m_desk2->sell(QStringLiteral("1 1"));
        // its last heartbeat before going quiet told the server how much it had waiting
        m_pg->sql(QStringLiteral("INSERT INTO festa.sinais (caixa, nome, a_enviar, aberto) VALUES ('%1', "
                                 "'Caixa 2', %2, true)")
                      .arg(m_desk2->id())
                      .arg(DeskJournal::waiting(*m_desk2->db)));
        auto* partial = w<QLabel>(QStringLiteral("l_parcial"));
        QTRY_VERIFY(partial->isVisible());
        QCOMPARE(partial->text(), QStringLiteral("Totais parciais: o Caixa 2 tem 2 registros a enviar."));
        m_desk2->connect();
        QTRY_VERIFY_WITH_TIMEOUT(!partial->isVisible(), 10000);
        auto* desks = w<QTableWidget>(QStringLiteral("tbl_caixas"));
        QCOMPARE(cell(desks, rowWhere(desks, 0, QStringLiteral("Caixa 2")), 8), m_desk2->till->cash());
    }

    void aCopiedDeskFileShowsInRedUntilOneIsChosenWithThePassword() {
        QTemporaryDir elsewhere;
        const QString copyPath = elsewhere.filePath(QStringLiteral("base.db"));
        m_desk1->file.exec(QStringLiteral("VACUUM INTO '%1'").arg(copyPath)); // the file as it stands
        m_desk1->sell(QStringLiteral("5"));
        QTRY_VERIFY_WITH_TIMEOUT(m_desk1->synced(), 10000);
        {
            Database copy(copyPath);
            DeskTill till(copy);
            FestaSettings second = m_desk1->settings; // the second computer, named on its own
            second.deskName = QStringLiteral("Caixa 3");
            FestaDesk desk(copy, till, second, quickTiming());
            till.addLine(QLatin1Char('3'));
            till.bookSale();
            QTRY_VERIFY_WITH_TIMEOUT(!desk.state().stopped.isEmpty(), 10000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m_desk1->festa->state().stopped.isEmpty(), 10000); // both stop
        QTest::keyClick(m_panel.get(), Qt::Key_2, Qt::ControlModifier);
        auto* tabs = w<QTabWidget>(QStringLiteral("tab_paginas"));
        QCOMPARE(tabs->currentIndex(), 1);
        auto* desks = w<QTableWidget>(QStringLiteral("tbl_caixas"));
        QTRY_VERIFY(rowWhere(desks, 0, QStringLiteral("Caixa 3 (outra cópia)")) >= 0);
        const int row = rowWhere(desks, 0, QStringLiteral("Caixa 1 (no servidor)"));
        QTRY_COMPARE(cell(desks, row, 2), QStringLiteral("PARADO"));
        QCOMPARE(desks->item(row, 8)->foreground().color(), FestaTable::alarm);
        QVERIFY(w<QLabel>(QStringLiteral("l_parados"))
                    ->text()
                    .startsWith(QStringLiteral("Caixa 1 (no servidor): ENVIO PARADO")));
        QVERIFY(w<QLabel>(QStringLiteral("l_parcial"))
                    ->text()
                    .contains(QStringLiteral("o Caixa 1 (no servidor) parou de enviar")));

        desks->setCurrentCell(row, 0);
        m_messages->answer = [](const QString&) { return true; };
        const QString open = QStringLiteral("SELECT count(*) FROM festa.copias WHERE vencedor IS NULL");
        m_adminGiven = false;
        w<QPushButton>(QStringLiteral("bt_liberar"))->click();
        QCOMPARE(m_adminAsked, 1);
        QCOMPARE(m_pg->sql(open), QStringLiteral("1"));
        m_adminGiven = true;
        w<QPushButton>(QStringLiteral("bt_liberar"))->click();
        QVERIFY(
            m_messages->last().startsWith(QStringLiteral("O Caixa 1 (no servidor) fica com a identidade")));
        // the copy becomes a desk of its own; the original goes on under its identity
        QTRY_COMPARE_WITH_TIMEOUT(cell(desks, rowWhere(desks, 0, QStringLiteral("Caixa 1")), 2).left(3),
                                  QStringLiteral("há "), 10000);
        QVERIFY(rowWhere(desks, 0, QStringLiteral("Caixa 3")) >= 0);
        QCOMPARE(m_pg->sql(open), QStringLiteral("0"));
        QVERIFY(desks->item(rowWhere(desks, 0, QStringLiteral("Caixa 1")), 8)->foreground().color() !=
                FestaTable::alarm);
        m_messages->answer = {};
        QTRY_VERIFY_WITH_TIMEOUT(m_desk1->synced(), 10000); // the desk goes on by itself
    }

    void theCatalogueIsSavedOnlyValidAndWithThePassword() {
        QTest::keyClick(m_panel.get(), Qt::Key_3, Qt::ControlModifier);
        auto* table = w<QTableWidget>(QStringLiteral("tbl_catalogo"));
        auto* state = w<QLabel>(QStringLiteral("l_catalogo"));
        QTRY_VERIFY(w<QLabel>(QStringLiteral("l_versao"))->text().contains(QStringLiteral("ainda não tem")));
        const QString versions = QStringLiteral("SELECT count(*) FROM festa.catalogo_versoes");
        auto* save = w<QPushButton>(QStringLiteral("bt_salvar_catalogo"));
        m_adminAsked = 0;
        m_adminGiven = false;
        table->item(0, 1)->setText(QStringLiteral("QUENTÃO"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("QUENTÃO")); // printed as named until told
        table->item(0, 4)->setText(QStringLiteral("2"));
        table->item(1, 1)->setText(QStringLiteral("PINHÃO"));
        table->item(1, 3)->setText(QStringLiteral("3,50"));
        w<QLineEdit>(QStringLiteral("edt_cabecalho"))->setText(QStringLiteral("QUERMESSE"));
        for (const QString& price : {QString(), QStringLiteral("5,,0"), QStringLiteral("5,125")}) {
            table->item(0, 3)->setText(price);
            m_messages->clear();
            save->click();
            QVERIFY2(m_messages->last().contains(QStringLiteral("preço da tecla 0 (QUENTÃO)")),
                     qPrintable(m_messages->last()));
            QCOMPARE(table->currentRow(), 0);
            QCOMPARE(m_adminAsked, 0);
        }
        table->item(0, 3)->setText(QStringLiteral("5"));
        save->click();
        QCOMPARE(m_adminAsked, 1);
        QVERIFY(state->text().contains(QStringLiteral("não salvo")));
        QCOMPARE(m_pg->sql(versions), QStringLiteral("0"));

        m_adminGiven = true;
        save->click();
        QTRY_VERIFY(state->text().contains(QStringLiteral("Catálogo versão 1 salvo:")));
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("5,00")); // as the server keeps it
        QCOMPARE(
            m_pg->sql(QStringLiteral("SELECT string_agg(chave || ' ' || produto || ' ' || impresso || ' ' || "
                                     "preco || ' ' || fichas, ', ' ORDER BY chave), min(cabecalho) FROM "
                                     "festa.catalogo_produtos JOIN festa.catalogo_versoes USING (versao)")),
            QStringLiteral("0 QUENTÃO QUENTÃO 5,00 2, 1 PINHÃO PINHÃO 3,50 1|QUERMESSE"));
        // the desks take it between two sales and the panel shows which version each sells with
        auto* desks = w<QTableWidget>(QStringLiteral("tbl_caixas"));
        QTRY_COMPARE_WITH_TIMEOUT(cell(desks, 0, 9) + cell(desks, 1, 9), QStringLiteral("v1v1"), 15000);
    }

    void closedTillsOfEveryDeskAreListedAndExported() {
        const QString expected1 = m_desk1->till->cash();
        m_desk1->till->close(QStringLiteral("60,00"), QStringLiteral("ANA"));
        m_desk2->till->close(std::nullopt, QStringLiteral("ANA"));
        QTRY_VERIFY_WITH_TIMEOUT(m_desk1->synced() && m_desk2->synced(), 10000);
        m_panel->hide();

        QTemporaryDir out;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", out.path().toUtf8());
        QString offered;
        const auto chooser = FestaClosedTillsPage::chooseFile;
        FestaClosedTillsPage::chooseFile = [&](QWidget*, const QString& suggested) {
            offered = suggested;
            return out.filePath(QStringLiteral("fechados"));
        };
        bool shown = false;
        whenModal(QStringLiteral("f_painel"), [&](QWidget*) {
            shown = true;
            QCOMPARE(w<QTabWidget>(QStringLiteral("tab_paginas"))->currentIndex(), 3);
            auto* tills = w<QTableWidget>(QStringLiteral("tbl_fechados"));
            QTRY_COMPARE(tills->rowCount(), 2);
            const int row1 = rowWhere(tills, 0, QStringLiteral("Caixa 1"));
            QVERIFY(row1 >= 0 && rowWhere(tills, 0, QStringLiteral("Caixa 2")) >= 0);
            QCOMPARE(cell(tills, row1, 1), QStringLiteral("1"));
            QCOMPARE(cell(tills, row1, 6), QStringLiteral("ANA"));
            QCOMPARE(cell(tills, row1, 11), QStringLiteral("60,00"));
            w<QPushButton>(QStringLiteral("bt_csv"))->click();
            keyActive(Qt::Key_Escape);
        });
        m_panel->showClosedTills();
        QVERIFY(shown);
        QVERIFY(!m_panel->isVisible());
        FestaClosedTillsPage::chooseFile = chooser;
        qputenv("HOME", home);

        QVERIFY(offered.startsWith(out.filePath(QStringLiteral("quorvanta/relatorios/caixas-da-festa-"))));
        QFile f(out.filePath(QStringLiteral("fechados.csv")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QVERIFY(lines[0].startsWith("\xEF\xBB\xBF"
                                    "Caixa;Nº;Data abertura"));
        QCOMPARE(lines.size(), 4); // heading, two tills and the end of the last line
        const QByteArray line = lines[1].startsWith("Caixa 1;") ? lines[1] : lines[2];
        const QStringList fields = QString::fromUtf8(line).trimmed().split(QLatin1Char(';'));
        const auto money = [](const QString& text) { return Cents::parse(text); };
        QCOMPARE(fields.size(), 16);
        QCOMPARE(fields.mid(0, 4), (QStringList{"Caixa 1", "1", "10/12/2026", "18:00:00"}));
        QCOMPARE(fields.mid(6),
                 (QStringList{"MARIA", "JOSE", "ANA", "50,00",
                              (money(expected1) - money("50,00") + money("10,00")).text(), "10,00", "1",
                              expected1, "60,00", (money("60,00") - money(expected1)).text()}));
    }
};

QUORVANTA_TEST_MAIN(TestFestaPanel)

#include "tst_festapanel.moc"
