// render_icon <svg> <size> <png>: the icon theme's raster sizes, drawn from the scalable icon
// at build time so that every size shows the same picture.
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: render_icon <svg> <size> <png>\n", stderr);
        return 2;
    }
    const int size = std::atoi(argv[2]);
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(argv[1], &error);
    if (!handle || size < 1) {
        std::fprintf(stderr, "render_icon: %s\n", error ? error->message : "bad size");
        return 1;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, double(size), double(size)};
    const bool drawn = rsvg_handle_render_document(handle, cr, &viewport, &error);
    cairo_destroy(cr);
    const bool written = drawn && cairo_surface_write_to_png(surface, argv[3]) == CAIRO_STATUS_SUCCESS;
    if (!written)
        std::fprintf(stderr, "render_icon: %s\n", error ? error->message : "cannot write the PNG");
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return written ? 0 : 1;
}
