// Keeps the window libraries non-empty while a folder lists no sources yet.
namespace qloom {
int guilogicAnchor() { return 0; }
} // namespace qloom
