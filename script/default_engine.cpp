#include "script/script_engine.h"

namespace script {

std::shared_ptr<ScriptEngine> CreateDefaultEngine() {
#ifdef _WIN32
  // A 64-bit Windows has no Script Control: the embedded engine stands in.
  if (std::shared_ptr<ScriptEngine> control = CreateComEngine()) return control;
#endif
  return CreateDuktapeEngine();
}

}  // namespace script
