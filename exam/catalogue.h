#pragma once

#include "exam/content_model.h"
#include "exam/run_state.h"
#include "exam/stored_answers.h"
#include "users/user_profile.h"

#include <functional>
#include <string>
#include <string_view>

// The catalogue of the Test page: every group with its tests as links, the
// questions answered and the IQ reached per test, and an IQ per group.

inline constexpr const char* kCatalogueBusyText = "Bezig met overzicht samen te stellen...";
inline constexpr const char* kCatalogueHeader = "Tests";
inline constexpr const char* kCatalogueSound = "a\\3.wav";

// Progress of a build in percent, reported per test of the group being
// walked. The window shows it on TimeLimitQGauge and lets events run.
using TCatalogueProgress = std::function<void(int percent)>;

// The catalogue markup for a user's answers and age. It is never cut: a
// catalogue longer than 8192 characters keeps all its tests.
std::string BuildCatalogueText(const TTestContent& content, const TAnswerSnapshot& answers, int age,
                               const TCatalogueProgress& progress = {});

// The text to show: CatalogueText when it is not empty, else a fresh build
// that is kept in CatalogueText. A build during which the user or the age
// changed (events run while it reports progress) is shown but not kept.
std::string EnsureCatalogue(std::string& CatalogueText, const TTestContent& content,
                            const TUserProfile& user, const TCatalogueProgress& progress = {});

// Empties the cache. The window calls it when a user logs on or off, when a
// running test is paused and on the next-question click during a run.
void InvalidateCatalogue(std::string& CatalogueText);
// Settings saved: the norms change with the age group, so a new age empties it.
void InvalidateCatalogueOnAgeChange(std::string& CatalogueText, uint8_t oldAge, uint8_t newAge);

// The results page: its link ends the shown catalogue, after the catalogue
// text itself (which stays as built and cached).
inline constexpr const char* kResultsHeader = "Mijn resultaten";
inline constexpr const char* kResultsLinkLine =
    "\r\n   <a href=\"mijnresultaten\">Mijn resultaten</a>\r\n";
// The catalogue as shown: the text followed by the results link.
std::string CatalogueWithResultsLink(std::string_view catalogue);

// Link targets, compared without regard to case.
bool IsSelectTestLink(std::string_view target);
bool IsStartTestLink(std::string_view target);
bool IsResultsLink(std::string_view target);   // "mijnresultaten"
bool IsCatalogueLink(std::string_view target); // "overzicht": back from the results
// "opnieuw#" + TestKey: take a finished test again.
bool IsRetakeLink(std::string_view target);
std::string RetakeTestKey(std::string_view target);

// Opening the catalogue ends any run without storing: run flags cleared,
// no current test, counters and times 0, nothing on display.
void ResetRunForCatalogue(TTestRunState& state);

// Selecting a test from its "selecttest#" link: CurrentTest, the question
// count, QuestionNo := the answered count and UsedTime := the stored times.
void SelectTest(TTestRunState& state, const TTestContent& content, const TAnswerSnapshot& answers,
                std::string_view target);

// Whether every question of the test has a value in `answers`; a test
// without questions is never finished.
bool TestFinished(const TTestContent& content, std::string_view testKey,
                  const TAnswerSnapshot& answers);

// TestHeaderLbl after selecting: "<group> - <test>" followed by " nalopen"
// when every question is answered, " voortzetten" when some are, else nothing.
std::string TestHeaderCaption(const TTestContent& content, const TTestRunState& state);
