#pragma once

#include "tools/content_source.h"

#include <string>
#include <vector>

#include <map>

// Adds to source.Messages what keeps the content from working: questions
// without points or answer length, tests and groups without header, a
// test introduction without its "starttest" link, pictures that are not
// among `pictures` (names in lower case), correct answers that no sequence
// of choices can give, questions defined twice, questions without
// explanation, two choices of a question that show the same (pictures
// compared by `pictureDigests`, name -> digest of the bytes, when given),
// and check boxes in a question answered with one click.
void CheckContent(TContentSource& source, const std::vector<std::string>& pictures,
                  const std::map<std::string, std::string>& pictureDigests = {});
