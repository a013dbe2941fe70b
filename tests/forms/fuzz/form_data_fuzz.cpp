// Fuzz target: any bytes as a form data file, read into a form with a box
// of every type (lists ordinary and of landscapes included), then written
// and read again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "forms/my_forms.h"

namespace {

constexpr char kForm[] =
    "[Input-boxes]\n"
    "{Txt=Int; Name=int; Type=INT; Size=6; Pos=10,10}\n"
    "{Txt=Real; Name=real; Type=FLT; Size=8; Min=-1e6; Max=1e30; Pos=10,40}\n"
    "{Txt=Text; Name=text; Type=CHR; Size=20; Pos=10,70}\n"
    "{Txt=Tick; Name=tick; Type=TCK; Pos=10,100}\n"
    "{Txt=Key; Name=key; Type=KEY; Size=10; Pos=10,130}\n"
    "{Txt=Colour; Name=colour; Type=COL; Pos=10,160}\n"
    "{Txt=In; Name=in; Type=IFP; Size=20; Pos=10,190}\n"
    "{Txt=Out; Name=out; Type=OFP; Size=20; Pos=10,220}\n"
    "{Txt=Folder; Name=folder; Type=FLD; Size=20; Pos=10,250}\n"
    "{Txt=List,One,Two,Three; Name=list; Type=DDL; Size=8; Pos=10,280}\n"
    "{Txt=Landscape; Name=land; Type=DDL; Size=12; Pos=10,310}\n";

bool write_file(const char* name, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(name, "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!write_file("form_data_fuzz.frm", kForm, sizeof kForm - 1)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (frm_read_form("form_data_fuzz.frm") != 0) std::abort();
  if (!write_file("fuzz.dat", data, size)) return 0;
  frm_read_form_data("fuzz.dat");
  if (frm_write_form_data("fuzz_out.dat") != 0) std::abort();
  if (frm_read_form_data("fuzz_out.dat") != 0) std::abort();
  return 0;
}
