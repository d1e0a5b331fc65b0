#include "core/db/database.h"
#include "gui/common/fieldwidth.h"
#include "gui/common/keyfilter.h"
#include "gui/common/rowgrid.h"
#include "gui/common/rowtablemodel.h"
#include "support/testsupport.h"

#include <QClipboard>
#include <QLineEdit>

using namespace TestSupport;

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    // An entry takes at most as many characters as its text column; other columns set no limit.
    void entryTakesAtMostItsColumnsWidth() {
        TestDatabase file;
        Database db(file.path());
        struct Case {
            const char* table;
            const char* column;
            int kept;
        };
        for (const Case& c : {Case{"tbl_produtos", "produto", 25}, Case{"tbl_produtos", "impresso", 15},
                              Case{"tbl_festa", "rodape", 30}, Case{"tbl_produtos", "quantidade", 40},
                              Case{"tbl_produtos", "nada", 40}}) {
            QLineEdit edit;
            limitToColumn(&edit, db, QLatin1String(c.table), QLatin1String(c.column));
            QCOMPARE(KeyFilter::filtered(&edit, QString(40, QLatin1Char('X'))).size(), c.kept);
            type(&edit, QString(40, QLatin1Char('y')));
            QCOMPARE(edit.text().size(), c.kept);
        }
    }

    // The grid shows the model's rows; when they are replaced the first row is the current one again,
    // highlighted only where the grid lets rows be chosen.
    void gridShowsTheRowsAndStartsAgainOnTheFirst() {
        RowTableModel<QString> model(
            {{QStringLiteral("Código"), [](const QString& s) { return s.left(1); }},
             {QStringLiteral("Produto"), [](const QString& s) { return s.mid(1); }}});
        RowGrid grid(nullptr, QStringLiteral("DBGrid1"), &model, {90, 0});
        QCOMPARE(grid.currentRow(), -1);
        model.setRows({QStringLiteral("0ÁGUA"), QStringLiteral("1REFRIGERANTE"), QStringLiteral("aPIPOCA")});
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Produto"));
        QCOMPARE(grid.model()->index(2, 0).data().toString(), QStringLiteral("a"));
        QCOMPARE(grid.model()->index(1, 1).data().toString(), QStringLiteral("REFRIGERANTE"));
        QCOMPARE(grid.currentRow(), 0);
        grid.setCurrentRow(2);
        grid.setCurrentRow(3); // no such row: stays where it is
        QCOMPARE(grid.currentRow(), 2);
        QVERIFY(grid.selectionModel()->isRowSelected(2));
        grid.setSelectionMode(QAbstractItemView::NoSelection);
        model.setRows({QStringLiteral("5PASTEL"), QStringLiteral("6SUCO")});
        QCOMPARE(grid.currentRow(), 0);
        QVERIFY(!grid.selectionModel()->hasSelection());
        model.setRows({});
        QCOMPARE(grid.currentRow(), -1);
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
