#pragma once

class QWidget;

namespace tidepool {

// How many pixels wider a control must be to show its text whole in its own font, as its style
// lays it out, where the panels it sits on cut it off; 0 when it fits. A label's or an option's
// text runs on one line; a push button's caption may wrap, as the compact style wraps it; a
// list's items show beside its scroll bar. Other controls show no text of their own.
int CaptionShortfall(const QWidget& control);

// Makes room for every text of a window laid out in fixed places, in the language and the font it
// has now (MakeRoomForText): the controls of container and of its plain panels are widened and
// moved, and container widened; a label whose font's lines are taller than it grows up and down
// alike. The container grows to minimumWidth at least. Where every text fits, nothing moves.
void MakeRoomForCaptions(QWidget& container, int minimumWidth = 0);

} // namespace tidepool
