#pragma once

class QWidget;

namespace tidepool {

// Gives the main window's controls that show no caption of their own the name a screen reader
// reads for them: a field the label beside it (as its buddy), or, where the label is shared or
// there is none, a name of its own. Captions stay as they are.
void NameMainWindowControls(QWidget* client);

// The same for the fixed-colour dialog: each swatch its label, the sample box its name.
void NameFixedColourControls(QWidget* dialog);

} // namespace tidepool
