#pragma once
// The sample site that `zarno-device make-samples` writes beside its recordings: a folder of DDB
// recordings of several piles, three blows each, made with the pile model, and the site's table
// "SITE.CSV" (design lengths on every pile, known lengths on some). One blow was struck with the
// sensor reversed and one pile has a neck, so that the site's checks have something to find. The
// site is the same on every run.

#include <filesystem>
#include <string>

namespace zarno::device {

// The folder's name within the sample set.
inline constexpr char kSampleSiteFolder[] = "SURVEY";

// Writes the site into dir (created when missing); false with the reason in error.
bool WriteSampleSite(const std::filesystem::path& dir, std::string* error);

} // namespace zarno::device
