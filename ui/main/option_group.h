#pragma once

#include <vector>

class QButtonGroup;
class QObject;
class QRadioButton;

namespace tidepool {

// Makes the option buttons of one control array a group, as the desktop's option groups behave:
// exactly one of them is selected whichever is clicked, the arrow keys move the selection within
// the group, and Tab stops at the group once, on its selected option (the first while none is).
// Grouping by parent widget is not enough: panels nest, and a parent's search for its options
// reaches into the panels inside it.
QButtonGroup* MakeOptionGroup(const std::vector<QRadioButton*>& options, QObject* owner);

} // namespace tidepool
