// Keeps the w32 library non-empty while it has no sources of its own.
namespace w32 {
int w32_library_anchor = 0;
}
