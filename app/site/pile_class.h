#pragma once
// The integrity class proposed for a pile from what its averaged trace shows. It is a proposal: the
// engineer decides, and the outputs say so. The rules, with the strength threshold as an option:
//   I   the toe is found and no anomaly is seen before it;
//   II  the toe is found, and the anomalies are weak;
//   III the toe is found, and an anomaly is strong;
//   IV  no toe, and a strong early reflection;
//   none of them when there is neither a toe nor a strong reflection: nothing can be proposed.

#include "app/site/toe_search.h"

#include <QString>

#include <optional>
#include <vector>

namespace zarno::site {

enum class PileClass { None, I, II, III, IV };

struct ClassRules {
    double strongAnomaly = 0.5; // an anomaly of at least this strength is strong
};

PileClass ProposeClass(bool toeFound, const std::vector<TraceAnomaly>& anomalies, const ClassRules& rules = {});

// "I" … "IV", or an empty text for none.
QString ClassName(PileClass c);

// The class a text names: "I" … "IV" in any case, or 1 … 4; an empty text (spaces only) is none.
// Nothing for any other text.
std::optional<PileClass> ParseClassName(const QString& text);

} // namespace zarno::site
