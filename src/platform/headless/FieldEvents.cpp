#include "platform/headless/FieldEvents.h"

#include "viewer/shell/FieldTexts.h"

namespace lv {

std::vector<std::string> fieldEvents(const DialogFields& f) {
  std::vector<std::string> events;
  for (const NamedFieldText& field : namedFieldTexts(f))
    events.push_back(field.name + " " + field.text);
  return events;
}

}  // namespace lv
