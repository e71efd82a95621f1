#pragma once
// Where the window keeps the keying rule: the hidden "Images not anti-aliased"
// check box selects the binary rule, as it always has, and the Keying menu's
// check marks tell graded from clean edges.
#include "pipeline/KeyingRule.h"
#include "ui/Controls.h"

namespace velkor {

KeyingRule SelectedKeyingRule(const FormControls& controls);

// Sets the check box and the menu's check marks for `rule`, and enables the
// tolerance box and slider for the rules that read them.
void SelectKeyingRule(FormControls& controls, KeyingRule rule);

}  // namespace velkor
