#pragma once

#include "gui/common/form.h"

class DataModule;
class DBEdit;
class QLabel;
class QPushButton;

// Event data printed on tickets: the header (also on the till reports) and the footer.
class TicketTextsDialog : public Form {
    Q_OBJECT
public:
    explicit TicketTextsDialog(DataModule& dm);

    void SpeedButton1Click();
    void SpeedButton2Click();
    // In a festa of several desks the header and footer come with the festa's catalogue: shown only.
    void setFestaMode(bool festa);

protected:
    void FormClose() override;

private:
    DataModule& m_dm;

    // Its widgets: other code finds them by their objectName.
private:
    DBEdit* DBEdit1 = nullptr;           // cabecalho
    DBEdit* DBEdit2 = nullptr;           // rodape
    QPushButton* SpeedButton1 = nullptr; // "Salvar"
    QPushButton* SpeedButton2 = nullptr; // "Sair"
    QLabel* l_festa = nullptr;           // where the texts are edited in a festa
};
