#pragma once

class QComboBox;

namespace qloom::gui {

// Fills an editable font-name list: the fonts installed on this computer first, then the usual
// web fonts that are not, each of those greyed, in italics and saying so in its tooltip and to
// assistive technology. An entry's text stays the bare family name, so picking one stores the
// name exactly as typing it would.
void FillFontList(QComboBox* box);

} // namespace qloom::gui
