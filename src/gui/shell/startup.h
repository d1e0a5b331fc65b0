#pragma once

#include <QString>

// Creates every window and the data module on the database at that path, shows the login and runs
// the program until it ends. A failure while creating them is shown and ends the program (returns 1).
int runProgram(const QString& databasePath);

class Application;
// What the program does when asked to end: the application's quit, which also asks every window to close.
void endsTheEventLoopOnQuit(Application& application);

// Qt's own texts (standard buttons, file dialogs) in Brazilian Portuguese, from the translations the
// system installed; false when they are not there (the program then goes on in English for those).
bool loadQtTranslations();

// The database the program uses: ~/quorvanta/base.db.
QString defaultDatabasePath();
