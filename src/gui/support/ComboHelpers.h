// Combo boxes whose drop-down list is a history kept in the settings store, and the
// exchange of a combo box's text with a text variable.
#pragma once

#include <QString>

class QComboBox;

namespace dualvex {

// Replaces the items by the stored history; the edit text stays. Returns the count.
int LoadComboHistory(QComboBox* combo, const char* valueName, const char* keyPath);
// Stores the current text first, then the other items; returns the entries written.
int SaveComboHistory(QComboBox* combo, const char* valueName, const char* keyPath);
// save: text := the edit text (or the selected item's text); load: the control
// takes text only when it differs, so an unchanged text keeps caret and selection.
void ExchangeComboText(bool save, QComboBox* combo, QString& text);

// Lets files be dropped onto a combo box: the first dropped path replaces the edit
// text with no item selected.
void AcceptFileDrops(QComboBox* combo);

} // namespace dualvex
