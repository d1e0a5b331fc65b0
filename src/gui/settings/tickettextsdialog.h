#pragma once

#include "gui/common/form.h"

class Database;
class QLabel;
class QLineEdit;
class QPushButton;

// Event data printed on tickets: the header (also on the till reports) and the footer. What is typed
// is stored by "Salvar" only; "Sair" and the close box drop it, and each showing shows what is stored.
class TicketTextsDialog : public Form {
    Q_OBJECT
public:
    explicit TicketTextsDialog(Database& db);

    void SpeedButton1Click();
    void SpeedButton2Click();
    // In a festa of several desks the header and footer come with the festa's catalogue: shown only.
    void setFestaMode(bool festa);

signals:
    void textsSaved(); // the next ticket and till report print the stored texts

protected:
    void FormShow() override;

private:
    void showStored();
    Database& m_db;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* DBEdit1 = nullptr;        // cabecalho
    QLineEdit* DBEdit2 = nullptr;        // rodape
    QPushButton* SpeedButton1 = nullptr; // "Salvar"
    QPushButton* SpeedButton2 = nullptr; // "Sair"
    QLabel* l_festa = nullptr;           // where the texts are edited in a festa
};
