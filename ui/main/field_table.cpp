#include "ui/main/field_table.hpp"

#include <cstring>
#include <iterator>

namespace orvane::ui {

namespace {

using F = FieldId;
using I = InputId;

// Enter successors of the frame that follows the plate data.
#define ORVANE_NEXT_FRAME "is1|icyll|isigx|icolL"

// name, field, input, reads first, Enter successors
constexpr FieldSpec kFields[] = {
    {"icylr", F::icylr, I::r, false, "il"},
    {"it", F::it, I::t, false, "ie"},
    {"il", F::il, I::l, false, "it"},
    {"ie", F::ie, I::E, false, "cbofyp"},
    {"ifyp", F::ifyp, I::fyp, false, ORVANE_NEXT_FRAME},
    {"is1", F::is1, I::s, true, "ilt"},
    {"ilt", F::ilt, I::ltst, true, "cbostiff"},
    {"ifys", F::ifys, I::fys, false, "icyll|isigx|icolL"},
    {"icyll", F::icyll, I::L, true, "igilt"},
    {"igilt", F::igilt, I::ltgi, false, "cboring"},
    {"ifyg", F::ifyg, I::fyg, false, "isigx"},
    {"isigx", F::isigx, I::sigx, true, "isigy"},
    {"isigy", F::isigy, I::sigy, true, "itau"},
    {"itau", F::itau, I::tau, true, "ipp"},
    {"ipp", F::ipp, I::pd, true, "iproj"},
    {"icolL", F::icolL, I::L, true, "ik1"},
    {"ik1", F::ik1, I::k1, true, "ik2"},
    {"ik2", F::ik2, I::k2, true, "inn"},
    {"inn", F::inn, I::N, true, "ip"},
    {"ip", F::ip, I::pd, true, "im1a"},
    {"im1a", F::im1a, I::M1a, true, "im1b"},
    {"im1b", F::im1b, I::M1b, true, "im2a"},
    {"im2a", F::im2a, I::M2a, true, "im2b"},
    {"im2b", F::im2b, I::M2b, true, "iproj"},
    {"iufb", F::iufb, I::ufb, false, "icylr"},
};

// The table is indexed by FieldId.
constexpr bool inFieldOrder() {
  for (size_t i = 0; i < std::size(kFields); ++i)
    if (static_cast<size_t>(kFields[i].id) != i) return false;
  return std::size(kFields) == static_cast<size_t>(FieldId::iproj);
}
static_assert(inFieldOrder(), "kFields must list the number fields in FieldId order");

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

const char* fieldName(FieldId field) {
  switch (field) {
    case FieldId::iproj:
      return "iproj";
    case FieldId::iident:
      return "iident";
    default:
      return kFields[static_cast<size_t>(field)].name;
  }
}

std::span<const InputControl> inputControls() { return kControls; }

std::span<const EnterStep> otherEnterSteps() { return kOtherSteps; }

}  // namespace orvane::ui
