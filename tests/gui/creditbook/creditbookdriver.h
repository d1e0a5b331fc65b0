#pragma once

// Driving the credit book windows: each helper shows (or opens) a modal window, runs the body
// inside its modal loop and makes sure the window is closed afterwards, even when a check failed.

#include "gui/common/rowgrid.h"
#include "gui/creditbook/accountclosingdialog.h"
#include "gui/creditbook/accountsheet.h"
#include "gui/creditbook/creditbookwindow.h"
#include "gui/shell/application.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace CreditBook {

struct Closer {
    QPointer<QWidget> window;
    ~Closer() {
        if (window && window->isVisible()) window->close();
    }
};

template <class W> void whenShown(const QString& name, std::function<void(W*)> body, bool* ran = nullptr) {
    TestSupport::whenModal(name, [body, ran](QWidget* w) {
        Closer closer{w};
        if (ran) *ran = true;
        body(qobject_cast<W*>(w));
    });
}

// The account list, shown as the main menu shows it.
inline bool inList(TestSupport::App& app, std::function<void(CreditBookWindow*)> body) {
    bool ran = false;
    whenShown<CreditBookWindow>(QStringLiteral("f_caderneta"), std::move(body), &ran);
    app.app->f_caderneta->showModal();
    return ran;
}

inline QPoint rowPoint(QTableView* grid, int row) {
    return grid->visualRect(grid->model()->index(row, 0)).center();
}

// Below the last row: a double-click there opens the current account.
inline QPoint emptyPoint(QTableView* grid) {
    return QPoint(10, grid->viewport()->height() - 4);
}

inline void click(QTableView* grid, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, row));
}

inline void click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Double-clicks the list at `at` and runs body on the sheet it opens.
inline bool inSheet(CreditBookWindow* list, QPoint at, std::function<void(AccountSheet*)> body) {
    bool ran = false;
    whenShown<AccountSheet>(QStringLiteral("f_ficha_cad"), std::move(body), &ran);
    QTest::mouseDClick(TestSupport::child<RowGrid>(list, QStringLiteral("DBGrid1"))->viewport(),
                       Qt::LeftButton, {}, at);
    return ran;
}

// Answers the administrator prompt that `trigger` shows with `password` and Enter.
inline void withPassword(const QString& prompt, const QString& password,
                         const std::function<void()>& trigger) {
    whenShown<QWidget>(prompt, [password](QWidget* w) {
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("edt_senha"));
        QVERIFY(edit);
        edit->setFocus();
        TestSupport::type(edit, password);
        TestSupport::key(edit, Qt::Key_Return);
    });
    trigger();
}

inline QStringList column(QTableView* grid, int column) {
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, column).data().toString();
    return out;
}

} // namespace CreditBook
