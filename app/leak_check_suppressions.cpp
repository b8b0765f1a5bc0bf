// Linked into every program that draws text, in sanitized builds only.
//
// Fontconfig keeps parts of its cache for the life of the process and frees
// them never; the leak checker would report them as ours at exit, and which
// test happens to trip over it depends on the fonts of the machine.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
