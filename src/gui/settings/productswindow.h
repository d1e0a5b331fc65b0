#pragma once

#include "core/settings/productstore.h"
#include "gui/common/form.h"
#include "gui/common/rowtablemodel.h"

class Database;
class RowGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// Product configuration and till counter: the twenty products sold by the product keys, and the
// number of the last till opened. What is typed into a product's entries is pending until it is stored
// (the store button, or a move to another product); "OK", the close box and the next showing drop it.
class ProductsWindow : public Form {
    Q_OBJECT
public:
    explicit ProductsWindow(Database& db);

    void DBNavigator1Click(); // stores the current product's changes
    void SpeedButton1Click(); // "OK"
    void SpeedButton2Click(); // "Gravar"

    // In a festa the products come from the festa's catalogue: shown, never edited here. The till counter
    // stays this desk's own.
    void setFestaMode(bool festa);
    bool festaMode() const { return m_festa; }

protected:
    void FormShow() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using ProductTable = RowTableModel<Product>;
    // The entries show that product of the grid; nothing typed is pending then.
    void showProduct(int row);
    void currentRowChanged(int row, int previous);
    // Stores the pending change of the product at that row. A price that is not money text is refused
    // with a message and the change stays pending; returns false then.
    bool storeProduct(int row);
    // Before the grid moves to another product: stores, and tells whether the move may go on.
    bool storeBeforeMove();
    void updateNavigator();
    Database& m_db;
    ProductTable* m_products;
    bool m_festa = false;
    bool m_pending = false; // typed into the entries and not stored
    bool m_moving = false;  // the grid is put back on the product a refused move left

    // Its widgets: other code finds them by their objectName.
private:
    RowGrid* DBGrid1 = nullptr;
    QLineEdit* DBEdit1 = nullptr;        // id
    QLineEdit* DBEdit2 = nullptr;        // produto
    QLineEdit* DBEdit4 = nullptr;        // impresso
    QLineEdit* DBEdit3 = nullptr;        // quantidade ("Fichas")
    QLineEdit* DBEdit5 = nullptr;        // valor
    QToolButton* DBNavigator1 = nullptr; // the navigator's store button
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* DBEdit6 = nullptr;        // tbl_cont.cont
    QPushButton* SpeedButton2 = nullptr; // "Gravar"
    QPushButton* SpeedButton1 = nullptr; // "OK"
    QLabel* l_festa = nullptr;           // why the products cannot be edited (festa mode only)
};
