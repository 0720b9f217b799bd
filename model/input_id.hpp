// The identifiers of the project's inputs: one for every value a user can
// type, choose or tick, and that `--set NAME=VALUE`, a load-table column or a
// study can store. The calculation names an input by its identifier when it
// asks for the focus; only the window knows which control shows it. The
// description of each input (its name, range, warnings and the rules that
// go with choosing it) is the input table in project/inputs.hpp.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// In the order of the input table; the identifiers carry the `--set` names.
// clang-format off
enum class InputId : uint8_t {
  // geometry and materials (numbers)
  r, t, s, l, L, ltst, ltgi, E, fyp, fys, fyg,
  // loads and the allowable usage factor (numbers)
  sigx, sigy, tau, pd, N, M1a, M1b, M2a, M2b, k1, k2, ufb,
  // modes, options and lists (integers)
  cyltype, wsd, odmom, matp, mats, matg, ring_ch, hring_ch, Outside_ch, ringfab, check_ih,
  cbostiff, cboring,
  // table rows of the stiffener and the ring frame
  stiff_row_bulb, stiff_row_l, stiff_row_t, stiff_row_flat, ring_row_bulb, ring_row_l, ring_row_t,
  ring_row_flat,
  // current dimensions of the profiles in use
  st_h, st_b, st_tw, st_tf, st_a, rg_h, rg_b, rg_tw, rg_tf, rg_a,
  // built-up stiffener sets
  stiff_lb_h, stiff_lb_b, stiff_lb_tw, stiff_lb_tf, stiff_tb_h, stiff_tb_b, stiff_tb_tw,
  stiff_tb_tf, stiff_ib_h, stiff_ib_b, stiff_ib_tw, stiff_ib_tf, stiff_fb_h, stiff_fb_tw,
  stiff_rhs_h, stiff_rhs_b, stiff_rhs_tw, stiff_trap_h, stiff_trap_b, stiff_trap_a, stiff_trap_tw,
  // built-up ring-frame sets
  ring_lb_h, ring_lb_b, ring_lb_tw, ring_lb_tf, ring_tb_h, ring_tb_b, ring_tb_tw, ring_tb_tf,
  ring_ib_h, ring_ib_b, ring_ib_tw, ring_ib_tf, ring_fb_h, ring_fb_tw, ring_rhs_h, ring_rhs_b,
  ring_rhs_tw, ring_trap_h, ring_trap_b, ring_trap_a, ring_trap_tw,
};
// clang-format on

inline constexpr size_t kInputCount = static_cast<size_t>(InputId::ring_trap_tw) + 1;

}  // namespace orvane
