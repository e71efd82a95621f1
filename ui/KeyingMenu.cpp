// The Keying menu: one handler per rule, each selecting it in the control
// model that the alpha stage reads.
#include "pipeline/KeyingRule.h"
#include "ui/frmMain.h"

namespace velkor {

void frmMain::mnuKeyGraded_Click() {
  SelectKeyingRule(Controls, KeyingRule::Graded);
  view_.ControlsChanged();
}

void frmMain::mnuKeyBinary_Click() {
  SelectKeyingRule(Controls, KeyingRule::Binary);
  view_.ControlsChanged();
}

void frmMain::mnuKeyClean_Click() {
  SelectKeyingRule(Controls, KeyingRule::CleanEdges);
  view_.ControlsChanged();
}

}  // namespace velkor
