// The library needs one translation unit; the resources themselves are
// added by qt_add_resources.
namespace vocor {
int ResourcesAnchor() { return 0; }
}  // namespace vocor
