#include "ui/field_table.hpp"

#include <cstring>

namespace orvane::ui {

namespace {

template <auto Member>
double get(const ProjectState& ps) {
  return ps.*Member;
}
template <auto Member>
void set(ProjectState& ps, float v) {
  ps.*Member = v;
}

#define ORVANE_VAR(member) get<&ProjectState::member>, set<&ProjectState::member>

using C = FieldCheck;
constexpr FieldCheck kNone{};

// Enter successors of the frame that follows the plate data.
#define ORVANE_NEXT_FRAME "is1|icyll|isigx|icolL"

const FieldSpec kFields[] = {
    {"icylr", "#00", ORVANE_VAR(r), {kNone, kNone}, false, false, CalcStep::AfterStore, "il"},
    {"it",
     "#0.0",
     ORVANE_VAR(t),
     {C{C::AtLeast, 0.1, 0, " 0.1 <= t "}, kNone},
     false,
     false,
     CalcStep::AfterStore,
     "ie"},
    {"il",
     "#00",
     ORVANE_VAR(l),
     {C{C::AtLeast, 50, 0, " l >= 50 ", false}, kNone},
     false,
     false,
     CalcStep::AfterReport,
     "it"},
    {"ie",
     "0.00E+0",
     ORVANE_VAR(E),
     {C{C::ShownAtLeast, 1000, 0, " 1000 <= E-modulus "}, kNone},
     false,
     false,
     CalcStep::AfterStore,
     "cbofyp"},
    {"ifyp",
     "#00",
     ORVANE_VAR(fyp),
     {C{C::Between, 50, 2000, " 50 <= fyp <= 2000 "}, kNone},
     false,
     false,
     CalcStep::AfterStore,
     ORVANE_NEXT_FRAME},
    {"is1",
     "#00",
     ORVANE_VAR(s),
     {C{C::AtLeast, 10, 0, " 10 <= s   "}, C{C::AtMostR, 0, 0, " s  <= r  ", false}},
     false,
     true,
     CalcStep::AfterStore,
     "ilt"},
    {"ilt",
     "#00",
     ORVANE_VAR(ltst),
     {C{C::AtLeast, 50, 0, " 50 <= lt "}, kNone},
     false,
     true,
     CalcStep::AfterStore,
     "cbostiff"},
    {"ifys",
     "#00",
     ORVANE_VAR(fys),
     {C{C::Between, 50, 2000, " 50 <= fys <= 2000 "}, kNone},
     false,
     false,
     CalcStep::AfterStore,
     "icyll|isigx|icolL"},
    {"icyll",
     "#00",
     ORVANE_VAR(L),
     {C{C::AtLeast, 50, 0, " L >= 50  "}, C{C::AtLeastSpan, 0, 0, " L >= l  "}},
     false,
     true,
     CalcStep::AfterStore,
     "igilt"},
    {"igilt",
     "#00",
     ORVANE_VAR(ltgi),
     {C{C::AtLeast, 50, 0, " 50 <= lt "},
      C{C::RingLengthCap, 0, 0, " lt<=pi*Sqr(r*h), ref ch B.5.9 "}},
     true,
     false,
     CalcStep::AfterStore,
     "cboring"},
    {"ifyg",
     "#00",
     ORVANE_VAR(fyg),
     {C{C::Between, 50, 2000, " 50 <= fyg <= 2000 "}, kNone},
     false,
     false,
     CalcStep::AfterStore,
     "isigx"},
    {"isigx", "##0.0", ORVANE_VAR(sigx), {kNone, kNone}, false, true, CalcStep::Last, "isigy"},
    {"isigy", "##0.0", ORVANE_VAR(sigy), {kNone, kNone}, false, true, CalcStep::AfterStore, "itau"},
    {"itau", "##0.0", ORVANE_VAR(tau), {kNone, kNone}, false, true, CalcStep::AfterStore, "ipp"},
    {"ipp", "##0.000", ORVANE_VAR(pd), {kNone, kNone}, false, true, CalcStep::AfterStore, "iproj"},
    {"icolL",
     "#00",
     ORVANE_VAR(L),
     {C{C::AtLeast, 50, 0, " L >= 50  "}, kNone},
     false,
     true,
     CalcStep::AfterStore,
     "ik1"},
    {"ik1",
     "#0.00",
     ORVANE_VAR(k1),
     {C{C::AtLeast, 0.2, 0, " k1 >= 0.2  "}, kNone},
     false,
     true,
     CalcStep::AfterStore,
     "ik2"},
    {"ik2",
     "#0.00",
     ORVANE_VAR(k2),
     {C{C::AtLeast, 0.2, 0, " k2 >= 0.2  "}, kNone},
     true,
     true,
     CalcStep::AfterStore,
     "inn"},
    {"inn", "#0.0", ORVANE_VAR(N), {kNone, kNone}, false, true, CalcStep::AfterStore, "ip"},
    {"ip", "#0.000", ORVANE_VAR(pd), {kNone, kNone}, false, true, CalcStep::AfterStore, "im1a"},
    {"im1a", "#0.0", ORVANE_VAR(M1a), {kNone, kNone}, false, true, CalcStep::AfterStore, "im1b"},
    {"im1b", "#0.0", ORVANE_VAR(M1b), {kNone, kNone}, false, true, CalcStep::AfterStore, "im2a"},
    {"im2a", "#0.0", ORVANE_VAR(M2a), {kNone, kNone}, false, true, CalcStep::AfterStore, "im2b"},
    {"im2b", "#0.0", ORVANE_VAR(M2b), {kNone, kNone}, false, true, CalcStep::AfterStore, "iproj"},
    {"iufb",
     "#0.00",
     ORVANE_VAR(ufb),
     {C{C::Between, 0.5, 1.5, " 0.5 < UF < 1.5 "}, kNone},
     false,
     false,
     CalcStep::UsageFactor,
     "icylr"},
};

const EnterStep kOtherSteps[] = {
    {"iproj", "iident"},
    {"iident", "iufb|icylr"},
    {"cbofyp", "ifyp|" ORVANE_NEXT_FRAME},
    {"cbostiff", "cbofys"},
    {"cbofys", "ifys|icyll|isigx|icolL"},
    {"cboring", "cbofyg"},
    {"cbofyg", "ifyg|isigx"},
};

#undef ORVANE_VAR
#undef ORVANE_NEXT_FRAME

}  // namespace

std::span<const FieldSpec> numericFields() { return kFields; }

const FieldSpec* findField(const char* name) {
  for (const FieldSpec& f : kFields)
    if (std::strcmp(f.name, name) == 0) return &f;
  return nullptr;
}

std::span<const EnterStep> otherEnterSteps() { return kOtherSteps; }

}  // namespace orvane::ui
