// The Keying menu: one handler per rule, each selecting it in the control
// model that the alpha stage reads.
#include "ui/commands/KeyingChoice.h"
#include "ui/commands/frmMain.h"

namespace velkor {

KeyingRule SelectedKeyingRule(const FormControls& controls) {
  // The check box wins: callers that only know it keep their meaning.
  if (controls.chkImagesNotAntiAliased.Value) return KeyingRule::Binary;
  return controls.mnuKeyClean.Checked ? KeyingRule::CleanEdges : KeyingRule::Graded;
}

void SelectKeyingRule(FormControls& controls, KeyingRule rule) {
  controls.chkImagesNotAntiAliased.Value = rule == KeyingRule::Binary;
  controls.mnuKeyGraded.Checked = rule == KeyingRule::Graded;
  controls.mnuKeyBinary.Checked = rule == KeyingRule::Binary;
  controls.mnuKeyClean.Checked = rule == KeyingRule::CleanEdges;
  // Clean edges estimates the key's share of each pixel itself.
  controls.txtTolerance.Enabled = controls.sldTol.Enabled = rule != KeyingRule::CleanEdges;
}

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
