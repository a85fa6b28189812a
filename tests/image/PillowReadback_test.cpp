// Files our encoders write, read back by an independent decoder (Pillow, run through
// /usr/bin/python3) to the pixels we hold. WBMP is left out: Pillow has no WBMP reader.
#include "image/CxImage.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/TestTrees.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const char kPython[] = "/usr/bin/python3";

RgbQuad Pattern(long x, long y) {
    return Quad(static_cast<BYTE>(x * 37 + y * 11), static_cast<BYTE>(255 - x * 13),
                static_cast<BYTE>(y * 29), static_cast<BYTE>((x * 23 + y * 41) % 256));
}

CxImage TrueColour(bool withAlpha) {
    return MakeImage(13, 7, Pattern, withAlpha);
}

CxImage Indexed(WORD bpp, long transparentIndex) {
    CxImage image(11, 6, bpp);
    const DWORD colors = image.GetNumColors();
    for (DWORD i = 0; i < colors; i++) {
        image.SetPaletteColor(static_cast<BYTE>(i), static_cast<BYTE>(i * 7), static_cast<BYTE>(255 - i),
                              static_cast<BYTE>(i * 3));
    }
    for (long y = 0; y < 6; y++) {
        for (long x = 0; x < 11; x++) {
            image.SetPixelIndex(x, y, static_cast<BYTE>((x + 3 * y) % colors));
        }
    }
    image.SetTransIndex(transparentIndex);
    return image;
}

// 1-bit PCX readers take the pixels as black and white, whatever the header palette says.
CxImage BlackAndWhite() {
    CxImage image = Indexed(1, -1);
    image.SetGrayPalette();
    return image;
}

// Long runs of a few colours with short noisy stretches, for the GIF coders.
CxImage Runs(DWORD gifOption) {
    CxImage image(300, 120, 8);
    for (DWORD i = 0; i < 256; i++) {
        image.SetPaletteColor(static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i * 5), 9);
    }
    for (long y = 0; y < 120; y++) {
        for (long x = 0; x < 300; x++) {
            const bool noisy = y % 17 == 3 && x < 40;
            image.SetPixelIndex(x, y, static_cast<BYTE>(noisy ? (x * 31 + y) % 256 : (x / 90 + y / 30) % 4));
        }
    }
    image.SetCodecOption(gifOption, kImageFormatGif);
    return image;
}

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/zarvo-pillow-XXXXXX";
        const char* made = mkdtemp(pattern);
        m_path = made != nullptr ? made : "";
    }

    ~TempFolder() {
        if (!m_path.empty()) {
            std::system(("rm -rf '" + m_path + "'").c_str());
        }
    }

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

TEST(PillowReadback, PillowDecodesEveryFormatWeEncodeToOurPixels) {
    struct stat info = {};
    if (stat(kPython, &info) != 0) {
        GTEST_SKIP() << "no " << kPython;
    }
    const std::string script = SourceTreePath("tests/image/pillow_readback.py");

    struct Case {
        const char* name;
        DWORD format;
        CxImage image;
        const char* mode;
    };

    const Case cases[] = {
        {"bmp-24", kImageFormatBmp, TrueColour(false), "rgb"},
        {"bmp-8", kImageFormatBmp, Indexed(8, -1), "rgb"},
        {"bmp-4", kImageFormatBmp, Indexed(4, -1), "rgb"},
        {"bmp-1", kImageFormatBmp, Indexed(1, -1), "rgb"},
        {"png-24", kImageFormatPng, TrueColour(false), "rgba"},
        {"png-rgba", kImageFormatPng, TrueColour(true), "rgba"},
        {"png-8-transparent", kImageFormatPng, Indexed(8, 5), "rgba"},
        {"gif-8", kImageFormatGif, Indexed(8, -1), "rgb"},
        {"gif-8-transparent", kImageFormatGif, Indexed(8, 4), "rgba"},
        {"gif-4", kImageFormatGif, Indexed(4, -1), "rgb"},
        {"gif-runs-lzw", kImageFormatGif, Runs(0), "rgb"},
        {"gif-runs-uncompressed", kImageFormatGif, Runs(1), "rgb"},
        {"gif-runs-run-length", kImageFormatGif, Runs(2), "rgb"},
        {"gif-24-tiled", kImageFormatGif, TrueColour(false), "rgb"},
        {"ico-24", kImageFormatIco, TrueColour(false), "rgb"},
        {"ico-rgba", kImageFormatIco, TrueColour(true), "rgba"},
        {"ico-8", kImageFormatIco, Indexed(8, -1), "rgb"},
        {"tga-24", kImageFormatTga, TrueColour(false), "rgb"},
        {"tga-rgba", kImageFormatTga, TrueColour(true), "rgba"},
        {"tga-8", kImageFormatTga, Indexed(8, -1), "rgb"},
        {"pcx-24", kImageFormatPcx, TrueColour(false), "rgb"},
        {"pcx-8", kImageFormatPcx, Indexed(8, -1), "rgb"},
        {"pcx-1", kImageFormatPcx, BlackAndWhite(), "rgb"},
    };
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxImage image(c.image);
        const std::string file = folder.Path() + "/" + c.name;
        ASSERT_TRUE(image.SaveFile(file.c_str(), c.format)) << image.GetLastError();
        ASSERT_TRUE(WriteBytes(file + ".rgba", EffectiveRgba(c.image)));
        const std::string command = std::string(kPython) + " '" + script + "' '" + file + "' '" + file +
                                    ".rgba' " + std::to_string(image.GetWidth()) + " " +
                                    std::to_string(image.GetHeight()) + " " + c.mode;
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2) {
            GTEST_SKIP() << "Pillow is not installed";
        }
        EXPECT_EQ(0, WEXITSTATUS(status));
    }
}
