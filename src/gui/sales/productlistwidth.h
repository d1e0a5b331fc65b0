#pragma once

class QScreen;
class QTableView;

// The sales screen's product list as wide as its longest name (up to a third of the screen), so no
// name is cut.
void fitProductList(QTableView* list, const QScreen* screen);
