#pragma once

class QWidget;

namespace tidepool {

// Gives a control that shows no caption of its own, and whose label is shared with another
// control or missing, the name a screen reader reads for it: name, written in Japanese and marked
// for translation in the context "tidepool::AccessibleNames", in the application's language.
// A control with a label of its own is named by making that label its buddy instead.
void GiveAccessibleName(QWidget& control, const char* name);

} // namespace tidepool
