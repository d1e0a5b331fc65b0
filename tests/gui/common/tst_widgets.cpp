#include "core/db/datamodule.h"
#include "gui/common/dbedit.h"
#include "gui/common/dbgrid.h"
#include "gui/common/dbmemo.h"
#include "gui/common/keyfilter.h"
#include "support/testsupport.h"

#include <QClipboard>
#include <QLineEdit>

using namespace TestSupport;

class TestWidgets : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<DataModule> dm;

private slots:
    void init() {
        db = std::make_unique<TestDatabase>();
        dm = std::make_unique<DataModule>(db->path());
        dm->q_config->setQuery(QStringLiteral("SELECT * FROM tbl_produtos ORDER BY id ASC"),
                               QStringLiteral("tbl_produtos"));
        dm->q_config->open();
    }
    void cleanup() {
        dm.reset();
        db.reset();
    }

    void editShowsTheCurrentRowAndFollowsIt() {
        DBEdit edit(nullptr, QStringLiteral("DBEdit2"), dm->q_config, QStringLiteral("produto"));
        QCOMPARE(edit.text(), QStringLiteral("ÁGUA"));
        QCOMPARE(KeyFilter::filtered(&edit, QString(30, QLatin1Char('X'))).size(), 25);
        dm->q_config->next();
        QCOMPARE(edit.text(), QStringLiteral("REFRIGERANTE"));
        dm->q_config->setQuery(QStringLiteral("SELECT * FROM tbl_produtos WHERE id = :id"),
                               QStringLiteral("tbl_produtos"), {{QStringLiteral("id"), QStringLiteral("a")}});
        dm->q_config->open();
        QCOMPARE(edit.text(), QString());
        dm->q_config->close();
        QCOMPARE(edit.text(), QString());
    }

    void typingStartsAnEditAndTakesAtMostTheWidth() {
        DBEdit edit(nullptr, QStringLiteral("DBEdit4"), dm->q_config, QStringLiteral("impresso"));
        KeyFilter::upperCase(&edit);
        edit.clear();
        QCOMPARE(dm->q_config->state(), Dataset::State::Browse);
        type(&edit, QStringLiteral("suco de laranja natural"));
        QCOMPARE(dm->q_config->state(), Dataset::State::Edit);
        QCOMPARE(edit.text(), QStringLiteral("SUCO DE LARANJA"));
        QCOMPARE(dm->q_config->asString("impresso"), QStringLiteral("SUCO DE LARANJA"));
        dm->q_config->post();
        QCOMPARE(db->scalar("select impresso from tbl_produtos where id = '0'"),
                 QStringLiteral("SUCO DE LARANJA"));
    }

    void gridSelectionAndCurrentRowFollowEachOther() {
        DBGrid grid(nullptr, QStringLiteral("DBGrid1"), dm->q_config,
                    {{QStringLiteral("id"), QStringLiteral("Código")},
                     {QStringLiteral("produto"), QStringLiteral("Produto")}});
        QCOMPARE(grid.model()->rowCount(), 20);
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Produto"));
        QCOMPARE(grid.model()->index(10, 0).data().toString(), QStringLiteral("a"));
        grid.selectRow(3);
        QCOMPARE(dm->q_config->asString("id"), QStringLiteral("3"));
        dm->q_config->setRecNo(7);
        QCOMPARE(grid.currentIndex().row(), 7);
        dm->q_config->setQuery(
            QStringLiteral("SELECT * FROM tbl_produtos WHERE produto <> '' ORDER BY id ASC"),
            QStringLiteral("tbl_produtos"));
        dm->q_config->open();
        QCOMPARE(grid.model()->rowCount(), 6);
        QCOMPARE(grid.currentIndex().row(), 0);
    }

    void memoIsReadOnlyAndShowsStoredLines() {
        db->exec("update tbl_base set ultcaixa = 'um' || char(13) || char(10) || 'dois'");
        dm->q_base->close();
        dm->q_base->open();
        DBMemo memo(nullptr, QStringLiteral("DBMemo1"), dm->q_base, QStringLiteral("ultcaixa"));
        QVERIFY(memo.isReadOnly());
        QCOMPARE(memo.toPlainText(), QStringLiteral("um\ndois"));
    }

    void moneyAndDigitFiltersDropOtherCharacters() {
        QLineEdit money, digits, upper;
        KeyFilter::money(&money, false);
        KeyFilter::digits(&digits, false);
        KeyFilter::upperCase(&upper);
        type(&money, QStringLiteral("a1-2.3,4*x"));
        QCOMPARE(money.text(), QStringLiteral("123,4"));
        key(&money, Qt::Key_Backspace);
        QCOMPARE(money.text(), QStringLiteral("123,"));
        type(&digits, QStringLiteral("4,5a6"));
        QCOMPARE(digits.text(), QStringLiteral("456"));
        type(&upper, QStringLiteral("joão d'ávila 1"));
        QCOMPARE(upper.text(), QStringLiteral("JOÃO D'ÁVILA 1"));
    }

    void pastedTextFollowsTheSameRules() {
        QLineEdit money, upper;
        KeyFilter::money(&money, true);
        KeyFilter::password(&upper);
        QApplication::clipboard()->setText(QStringLiteral("12a,5"));
        money.paste();
        QCOMPARE(money.text(), QStringLiteral("12,5")); // the allowed characters stay, like typed ones
        money.clear();
        QApplication::clipboard()->setText(QStringLiteral("R$ 1.234,50"));
        money.paste();
        QCOMPARE(money.text(), QStringLiteral("1234,50"));
        QApplication::clipboard()->setText(QStringLiteral("segredo"));
        upper.paste();
        QCOMPARE(upper.text(), QStringLiteral("SEGREDO"));
    }

    void enterReachesTheFieldOnlyWhereAllowed() {
        QLineEdit withEnter, without;
        KeyFilter::money(&withEnter, true);
        KeyFilter::money(&without, false);
        int a = 0, b = 0;
        connect(&withEnter, &QLineEdit::returnPressed, [&] { ++a; });
        connect(&without, &QLineEdit::returnPressed, [&] { ++b; });
        key(&withEnter, Qt::Key_Return);
        key(&without, Qt::Key_Return);
        QCOMPARE(a, 1);
        QCOMPARE(b, 0);
    }

    // The width counts characters as the user sees them and never cuts one in half, typed or pasted.
    void widthKeepsWholeCharacters() {
        QLineEdit edit;
        KeyFilter::limitWidth(&edit, 5);
        const QString emoji = QString::fromUtf8("\xF0\x9F\x8D\xBA"); // beer mug, two UTF-16 units
        const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA7\xF0\x9F\x87\xB7"); // two code points
        struct Case {
            QString pasted;
            QString kept;
        };
        const QList<Case> cases{
            {QStringLiteral("ABCD") + emoji, QStringLiteral("ABCD") + emoji},
            {QStringLiteral("ABCDE") + emoji, QStringLiteral("ABCDE")},
            {emoji + emoji + emoji + emoji + emoji + emoji, emoji + emoji + emoji + emoji + emoji},
            {QStringLiteral("ABCD") + flag, QStringLiteral("ABCD")},
            {QStringLiteral("ABC") + flag, QStringLiteral("ABC") + flag},
            {QStringLiteral("ABCDE\u0301"), QStringLiteral("ABCD")}, // E and its accent go together
        };
        for (const Case& c : cases) {
            edit.clear();
            QApplication::clipboard()->setText(c.pasted);
            edit.paste();
            QCOMPARE(edit.text(), c.kept);
            QVERIFY(QString::fromUtf8(edit.text().toUtf8()) == edit.text()); // valid UTF-8
        }
        edit.setText(QStringLiteral("ABCD"));
        edit.setCursorPosition(2);
        QApplication::clipboard()->setText(emoji + QStringLiteral("X"));
        edit.paste(); // into a field one character from full: what fits, at the cursor
        QCOMPARE(edit.text(), QStringLiteral("AB") + emoji + QStringLiteral("CD"));
    }
};

QUORVANTA_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
