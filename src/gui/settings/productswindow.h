#pragma once

#include "gui/common/form.h"

class DataModule;
class DBEdit;
class DBGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// Product configuration and till counter: the twenty products sold by the product keys, and the
// number of the last till opened.
class ProductsWindow : public Form {
    Q_OBJECT
public:
    explicit ProductsWindow(DataModule& dm);

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
    void bindData(); // the fields and the grid on the data module's products
    // Stores the current product's pending change. A price that is not money text is refused with a
    // message and the change stays pending; returns false then.
    bool storeProduct();
    // Before the grid moves to another product: stores, and tells whether the move may go on.
    bool storeBeforeMove();
    void updateNavigator();
    DataModule& m_dm;
    bool m_festa = false;

    // Its widgets: other code finds them by their objectName.
private:
    DBGrid* DBGrid1 = nullptr;
    DBEdit* DBEdit1 = nullptr;           // id
    DBEdit* DBEdit2 = nullptr;           // produto
    DBEdit* DBEdit4 = nullptr;           // impresso
    DBEdit* DBEdit3 = nullptr;           // quantidade ("Fichas")
    DBEdit* DBEdit5 = nullptr;           // valor
    QToolButton* DBNavigator1 = nullptr; // the navigator's store button
    QGroupBox* GroupBox1 = nullptr;
    DBEdit* DBEdit6 = nullptr;           // tbl_cont.cont
    QPushButton* SpeedButton2 = nullptr; // "Gravar"
    QPushButton* SpeedButton1 = nullptr; // "OK"
    QLabel* l_festa = nullptr;           // why the products cannot be edited (festa mode only)
};
