#include "model/project_state.hpp"

namespace orvane {

void assignDefaults(ProjectState& ps) {
  ps.fileName = "New File";
  ps.projectName = "Project";
  ps.ident = "Test";
  ps.fileversion = 170;

  ps.r = 3333;
  ps.t = 20;
  ps.s = 600;
  ps.l = 3000;
  ps.L = 6000;
  ps.ltst = 3000;
  ps.ltgi = 600;
  ps.E = 210000;
  ps.matp = ps.mats = ps.matg = 2;

  ps.sigx = -100;
  ps.sigy = -10;
  ps.tau = 40;
  ps.pd = -0.3f;
  ps.N = -1000;
  ps.M1a = -200;
  ps.M1b = 100;
  ps.M2a = -100;
  ps.M2b = 100;
  ps.k1 = 1.0;
  ps.k2 = 1.0f;
  ps.ufb = 1;

  ps.cyltype = 2;
  ps.ring_ch = 1;
  ps.hring_ch = 0;
  ps.Outside_ch = 0;
  ps.ringfab = 0;
  ps.wsd = 0;
  ps.check_ih = 0;
  ps.odmom = 0;
  ps.stiff_flag = 1;
  ps.spare_flag = 0;
  ps.conservativeRules = false;
  ps.closedEnds = false;

  // The ring frame's table rows are deliberately kept.
  ps.cbostiff = 0;
  ps.cboring = 2;
  ps.stiffRows = TableRows{};

  ps.st.h = 200;
  ps.st.b = 90;
  ps.st.tw = 9;
  ps.st.tf = 12;
  ps.st.a = 1;
  ps.st.Ro = 10;
  ps.st.Ri = 10;
  ps.st.tgov = 12;
  ps.rg.h = 200;
  ps.rg.b = 90;
  ps.rg.tw = 9;
  ps.rg.tf = 12;
  ps.rg.a = 1;
  ps.rg.Ro = 10;
  ps.rg.tgov = 12;

  ps.stiffBuilt = stiffenerBuiltUpDefaults();
  ps.ringBuilt = ringFrameBuiltUpDefaults();
}

void refreshValues(ProjectState& ps) { ps.ufb = static_cast<float>(ps.ufb); }

}  // namespace orvane
