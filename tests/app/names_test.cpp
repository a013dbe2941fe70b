// Towplane names that command lines and the program's 32-character name
// fields make hard, in an installation whose folder holds blanks and
// accents: each towplane is found and moved whole, or refused with its
// reason, and no other folder is touched.
#include "tests/app/fault_fixture.h"

using namespace app_test;

namespace {

// Names as the program holds them (Windows-1252).
const std::string k28 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01";       // its data file's name just fits 32
const std::string k32 = "ZYXWVUTSRQPONMLKJIHGFEDCBA012345";   // cut before ".dta": never found
const std::string k33 = k32 + "6";                            // kept as k32

TEST_F(FaultTest, HardNamesMoveWholeOrAreRefusedAndNothingElseMoves) {
  SimVersion& v = install(3);
  v.install_dir = disk(folder("Jeux \xE9t\xE9 & Co\\Condor 3"));
  std::vector<std::string> active = {"Piper Cub", "Moran\xE9 MS.893", "A&B", "T^(1)", "Wow!", "50%TUG", k28, k33};
  std::vector<std::string> hidden = {"(Tug) 2", "Fran\xE7ois", k32};
  if (!windows_build()) active.push_back("Say \"Hi\"");  // Windows names cannot hold quotes
  for (const std::string& n : active) v.towplanes.push_back(disk(n));
  for (const std::string& n : hidden) v.hidden_towplanes.push_back(disk(n));
  make();
  unique_contents();
  remember();
  scan();

  std::string p = towplanes::path.str(), h = towplanes::path2.str();
  EXPECT_EQ(p, folder("Jeux \xE9t\xE9 & Co\\Condor 3\\Planes\\"));
  ASSERT_EQ(towplanes::npln, static_cast<int>(active.size() + hidden.size()));
  // Every towplane but the two whose data file name is cut is found.
  EXPECT_EQ(towplanes::nfound, towplanes::npln - 2);

  // Every tick turned, the missing ones too (as the buttons do).
  for (int i = 1; i <= towplanes::npln; ++i) {
    int on = towplanes::qact[static_cast<std::size_t>(i - 1)] ? 0 : 1;
    frm_set_value(i, on, static_cast<float>(on), on ? "1" : "0", false);
  }
  Output o = output_of(apply_selection);

  Tree want = before;
  for (std::string n : {"Piper Cub", "Moran\xE9 MS.893", "A&B", "T^(1)", "Wow!", k28.c_str()})
    want = moved(want, "Planes/" + in_tree(n), "Hidden_Planes/" + in_tree(n));
  for (std::string n : {"(Tug) 2", "Fran\xE7ois"}) want = moved(want, "Hidden_Planes/" + in_tree(n), "Planes/" + in_tree(n));
  expect_installation(want);

  std::string quote_refusal = windows_build() ? "" : "\n Say \"Hi\": its name holds \"%\" or a double quote, which a command line cannot carry";
  EXPECT_TRUE(o.box(" Wow!, T^(1), Piper Cub, Moran\xE9 MS.893, " + k28 + ", A&B: DEACTIVATED\n  moved to: " + h + "\n\n" +
                    " Fran\xE7ois, (Tug) 2: ACTIVATED\n  moved to: " + p + "\n\nNot moved:" + quote_refusal +
                    "\n 50%TUG: its name holds \"%\" or a double quote, which a command line cannot carry"))
      << o.out;
}

}  // namespace
