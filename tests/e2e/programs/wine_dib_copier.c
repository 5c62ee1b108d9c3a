/* A Win32 program that copies pictures the way Windows programs do, as a CF_DIB on the
 * clipboard: one per line read, "W H R G B" (a plain colour); "copied N" once the clipboard
 * holds the picture of the N-th line, "failed N STEP ERROR" if it could not be put there.
 * Built with x86_64-w64-mingw32-gcc, run under Wine. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static const char *failed_step = "";

static int copy_picture(HWND owner, int w, int h, int r, int g, int b)
{
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
    const SIZE_T size = sizeof(BITMAPINFOHEADER) + stride * (DWORD)h;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem) {
        failed_step = "alloc";
        return 0;
    }
    BITMAPINFOHEADER *info = GlobalLock(mem);
    memset(info, 0, size);
    info->biSize = sizeof(*info);
    info->biWidth = w;
    info->biHeight = h;
    info->biPlanes = 1;
    info->biBitCount = 24;
    info->biCompression = BI_RGB;
    info->biSizeImage = stride * (DWORD)h;
    BYTE *row = (BYTE *)(info + 1);
    for (int y = 0; y < h; ++y, row += stride)
        for (int x = 0; x < w; ++x) {
            row[3 * x] = (BYTE)b;
            row[3 * x + 1] = (BYTE)g;
            row[3 * x + 2] = (BYTE)r;
        }
    GlobalUnlock(mem);
    /* Another program may hold the clipboard open for a moment. */
    for (int tries = 0; !OpenClipboard(owner); ++tries) {
        if (tries == 100) {
            failed_step = "open";
            GlobalFree(mem);
            return 0;
        }
        Sleep(20);
    }
    int ok = EmptyClipboard();
    failed_step = "empty";
    if (ok) {
        ok = SetClipboardData(CF_DIB, mem) != NULL;
        failed_step = "set";
    }
    const DWORD error = GetLastError();
    CloseClipboard();
    if (!ok)
        GlobalFree(mem);
    SetLastError(error);
    return ok;
}

int main(void)
{
    HWND owner = CreateWindowA("STATIC", "dib copier", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    if (!owner) {
        printf("no window\n");
        return 1;
    }
    printf("ready\n");
    fflush(stdout);
    char line[128];
    int lines = 0;
    while (fgets(line, sizeof line, stdin)) {
        ++lines;
        int w, h, r, g, b;
        if (sscanf(line, "%d %d %d %d %d", &w, &h, &r, &g, &b) != 5 || w <= 0 || h <= 0)
            printf("bad line\n");
        else if (copy_picture(owner, w, h, r, g, b))
            printf("copied %d\n", lines);
        else
            printf("failed %d %s %lu\n", lines, failed_step, GetLastError());
        fflush(stdout);
    }
    return 0;
}
