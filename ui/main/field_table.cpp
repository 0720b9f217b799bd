#include "ui/main/field_table.hpp"

#include <cstring>

namespace orvane::ui {

namespace {

using I = InputId;

// Enter successors of the frame that follows the plate data.
#define ORVANE_NEXT_FRAME "is1|icyll|isigx|icolL"

// name, input, reads first, Enter successors
const FieldSpec kFields[] = {
    {"icylr", I::r, false, "il"},
    {"it", I::t, false, "ie"},
    {"il", I::l, false, "it"},
    {"ie", I::E, false, "cbofyp"},
    {"ifyp", I::fyp, false, ORVANE_NEXT_FRAME},
    {"is1", I::s, true, "ilt"},
    {"ilt", I::ltst, true, "cbostiff"},
    {"ifys", I::fys, false, "icyll|isigx|icolL"},
    {"icyll", I::L, true, "igilt"},
    {"igilt", I::ltgi, false, "cboring"},
    {"ifyg", I::fyg, false, "isigx"},
    {"isigx", I::sigx, true, "isigy"},
    {"isigy", I::sigy, true, "itau"},
    {"itau", I::tau, true, "ipp"},
    {"ipp", I::pd, true, "iproj"},
    {"icolL", I::L, true, "ik1"},
    {"ik1", I::k1, true, "ik2"},
    {"ik2", I::k2, true, "inn"},
    {"inn", I::N, true, "ip"},
    {"ip", I::pd, true, "im1a"},
    {"im1a", I::M1a, true, "im1b"},
    {"im1b", I::M1b, true, "im2a"},
    {"im2a", I::M2a, true, "im2b"},
    {"im2b", I::M2b, true, "iproj"},
    {"iufb", I::ufb, false, "icylr"},
};

const InputControl kControls[] = {
    {I::cbostiff, "cbostiff"}, {I::cboring, "cboring"},       {I::matp, "cbofyp"},
    {I::mats, "cbofys"},       {I::matg, "cbofyg"},           {I::ring_ch, "ring_ch"},
    {I::hring_ch, "hring_ch"}, {I::Outside_ch, "Outside_ch"}, {I::check_ih, "check_ih"},
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

#undef ORVANE_NEXT_FRAME

}  // namespace

const FieldSpec* findField(const char* name) {
  for (const FieldSpec& f : kFields)
    if (std::strcmp(f.name, name) == 0) return &f;
  return nullptr;
}

std::span<const FieldSpec> mainFields() { return kFields; }

std::span<const InputControl> inputControls() { return kControls; }

std::span<const EnterStep> otherEnterSteps() { return kOtherSteps; }

}  // namespace orvane::ui
