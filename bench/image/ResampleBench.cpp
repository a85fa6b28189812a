// Times the main window's road through the image library: its two pictures (301 x 301
// and 1151 x 186, RGBA) scaled to the sizes the window gives them at several client
// heights, with every interpolation method, beside Pillow's resize of the same images
// with the nearest matching filter, timed inside Python in the same run. Exits 1 when
// the window's method (Lanczos, transparent overflow) takes more than three times
// Pillow's time in a build without sanitizers.
#include "image/CxImage.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr long kClientHeights[] = {480, 600, 768, 900, 1080};
constexpr double kAllowedRatio = 3.0;
constexpr int kWindowMethod = kInterpolationLanczos;

struct Picture {
    const char* name;
    CxImage image;
};

struct Job {
    std::string picture;
    long width;
    long height;
};

CxImage MakePicture(DWORD width, DWORD height) {
    CxImage image(width, height, 24);
    image.AlphaCreate();
    for (long y = 0; y < static_cast<long>(height); y++) {
        for (long x = 0; x < static_cast<long>(width); x++) {
            const double r = std::hypot(x - width / 2.0, y - height / 2.0);
            const BYTE alpha =
                r < height / 2.5 ? 255 : static_cast<BYTE>(std::max(0.0, 255 - (r - height / 2.5) * 8));
            image.SetPixelColor(x, y, RgbQuad{BYTE(x * 7), BYTE(y * 3), BYTE(x ^ y), alpha}, true);
        }
    }
    return image;
}

// Sizes the main window gives its pictures for a client height.
std::vector<Job> WindowJobs(const std::vector<Picture>& pictures) {
    std::vector<Job> jobs;
    for (long clientHeight : kClientHeights) {
        const long side = clientHeight * 28 / 440 - 4;
        const long bannerHeight = 4 * side / 5;
        const long bannerWidth = bannerHeight * static_cast<long>(pictures[1].image.GetWidth()) /
                                 static_cast<long>(pictures[1].image.GetHeight());
        jobs.push_back({pictures[0].name, side, side});
        jobs.push_back({pictures[1].name, bannerWidth, bannerHeight});
    }
    return jobs;
}

const char* PillowFilter(int method) {
    switch (method) {
    case kInterpolationNearest:
        return "NEAREST";
    case kInterpolationBilinear:
        return "BILINEAR";
    case kInterpolationLanczos:
    case kInterpolationSinc:
        return "LANCZOS";
    case kInterpolationBox:
        return "BOX";
    case kInterpolationHamming:
        return "HAMMING";
    default:
        return "BICUBIC";
    }
}

int Repeats(long width, long height) {
    return std::max(3L, 200000 / std::max(1L, width * height));
}

double TimeOurs(const CxImage& source, const Job& job, int method) {
    const int repeats = Repeats(job.width, job.height);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; i++) {
        CxImage copy;
        CxImage& picture = const_cast<CxImage&>(source);
        picture.ResampleImage(job.width, job.height, method, kOverflowTransparent, &copy, false);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / repeats;
}

// Runs Pillow on the same pictures and returns seconds per resize, keyed by
// "picture filter width height"; empty when Pillow is not available.
std::map<std::string, double> TimePillow(const std::vector<Picture>& pictures, const std::vector<Job>& jobs) {
    std::map<std::string, double> times;
    const std::string folder = "image_resample_bench_pictures";
    std::system(("mkdir -p " + folder).c_str());
    for (const Picture& picture : pictures) {
        const_cast<CxImage&>(picture.image)
            .SaveFile((folder + "/" + picture.name + ".png").c_str(), kImageFormatPng);
    }
    std::string script = "import time\nfrom PIL import Image\n";
    script += "pics = {n: Image.open('" + folder + "/' + n + '.png').convert('RGBA') for n in ('" +
              std::string(pictures[0].name) + "', '" + pictures[1].name + "')}\n";
    script += "for n, f, w, h, k in [";
    for (const Job& job : jobs) {
        for (const char* filter : {"NEAREST", "BILINEAR", "BICUBIC", "LANCZOS", "BOX", "HAMMING"}) {
            script += "('" + job.picture + "', '" + filter + "', " + std::to_string(job.width) + ", " +
                      std::to_string(job.height) + ", " + std::to_string(Repeats(job.width, job.height)) +
                      "),";
        }
    }
    script += "]:\n    im = pics[n]\n    flt = getattr(Image.Resampling, f)\n    t = time.perf_counter()\n";
    script += "    for _ in range(k): im.resize((w, h), flt)\n";
    script += "    print(n, f, w, h, (time.perf_counter() - t) / k)\n";
    const std::string scriptPath = folder + "/pillow.py";
    std::FILE* file = std::fopen(scriptPath.c_str(), "w");
    if (file == nullptr) {
        return times;
    }
    std::fputs(script.c_str(), file);
    std::fclose(file);
    std::FILE* pipe = popen(("/usr/bin/python3 " + scriptPath + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return times;
    }
    char name[64];
    char filter[32];
    long width = 0;
    long height = 0;
    double seconds = 0;
    while (std::fscanf(pipe, "%63s %31s %ld %ld %lf", name, filter, &width, &height, &seconds) == 5) {
        times[std::string(name) + " " + filter + " " + std::to_string(width) + " " + std::to_string(height)] =
            seconds;
    }
    pclose(pipe);
    return times;
}

}  // namespace

int main() {
    std::vector<Picture> pictures;
    pictures.push_back({"picture183", MakePicture(301, 301)});
    pictures.push_back({"picture185", MakePicture(1151, 186)});
    const std::vector<Job> jobs = WindowJobs(pictures);
    const std::map<std::string, double> pillow = TimePillow(pictures, jobs);
    if (pillow.empty()) {
        std::printf("Pillow (python3-pil for /usr/bin/python3) not available: no reference times\n");
    }
    bool withinBound = true;
    std::printf("%-11s %-10s %6s %6s %12s %12s %7s\n", "picture", "method", "width", "height", "ours (ms)",
                "Pillow (ms)", "ratio");
    for (const Job& job : jobs) {
        const CxImage& source = job.picture == pictures[0].name ? pictures[0].image : pictures[1].image;
        for (int method = kInterpolationNearest; method <= kInterpolationCatmullRom; method++) {
            const double ours = TimeOurs(source, job, method);
            const std::string key = job.picture + " " + PillowFilter(method) + " " +
                                    std::to_string(job.width) + " " + std::to_string(job.height);
            const auto found = pillow.find(key);
            const double reference = found != pillow.end() ? found->second : 0;
            const double ratio = reference > 0 ? ours / reference : 0;
            std::printf("%-11s %-10d %6ld %6ld %12.3f %12.3f %7.2f%s\n", job.picture.c_str(), method,
                        job.width, job.height, ours * 1000, reference * 1000, ratio,
                        method == kWindowMethod ? "  <- main window" : "");
            if (method == kWindowMethod && reference > 0 && ratio > kAllowedRatio) {
                withinBound = false;
            }
        }
    }
    std::printf("main window method %s %.0fx Pillow's time\n", withinBound ? "within" : "NOT within",
                kAllowedRatio);
#ifdef ZARVO_BENCH_SANITIZED
    std::printf("sanitized build: the bound is reported, not judged\n");
    return 0;
#else
    return withinBound ? 0 : 1;
#endif
}
