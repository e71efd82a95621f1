#include "pipeline/KeyingRule.h"

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
}

}  // namespace velkor
