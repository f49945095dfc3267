#pragma once

#include "tools/content_source.h"

#include <string>
#include <vector>

// Adds to source.Messages what keeps the content from working: questions
// without points or answer length, tests and groups without header, a
// test introduction without its "starttest" link, pictures that are not
// among `pictures` (names in lower case), correct answers that no sequence
// of choices can give, and questions defined twice. A question without
// explanation is a warning.
void CheckContent(TContentSource& source, const std::vector<std::string>& pictures);
