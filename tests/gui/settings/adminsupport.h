#pragma once

// Small helpers shared by the configuration and administration tests.

#include "gui/common/rowgrid.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace AdminSupport {

// Presses a main menu shortcut (F2, F5, F6, F7) on the shown, active main window.
inline void menuKey(TestSupport::App& app, Qt::Key key) {
    QWidget* main = app.app->f_principal;
    main->show();
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main)) qWarning("main window never became active");
    QTest::keyClick(main, key);
}

inline void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks a row of a grid, as the user selects a product.
inline void clickRow(QTableView* grid, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// Replaces the whole text of an entry by typing, as the user would after selecting it.
inline void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace AdminSupport
