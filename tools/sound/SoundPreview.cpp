// vornel-sound-preview: the game's sounds as numbers and pictures to judge without a speaker.
// Prints each sound's duration, peak, RMS, edge samples and share of energy above 3.5 kHz,
// and draws one row per sound (waveform on the left, spectrogram 0-4000 Hz on the right) into a PNG.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "bank/PngFile.h"
#include "bank/RgbaImage.h"
#include "sound/GameSounds.h"
#include "sound/WavWriter.h"

namespace vornel {
namespace {

constexpr const char* kProgram = "vornel-sound-preview";
constexpr int32_t kPanelWidth = 600;
constexpr int32_t kRowHeight = 128;
constexpr int32_t kGap = 6;
constexpr int32_t kWindow = 256;  // samples per spectrum: 31 Hz bins, 32 ms
constexpr int32_t kBins = kWindow / 2;
constexpr float kFloorDb = -80.0f;
constexpr uint32_t kBackground = 0xFF101018;
constexpr uint32_t kWave = 0xFF80E0A0;
constexpr uint32_t kAxis = 0xFF404050;

std::vector<float> quantised(const SampleTrack& track) {
    std::vector<float> samples;
    for (float sample : track.samples()) {
        samples.push_back(static_cast<float>(WavWriter::toPcm(sample)) / 32767.0f);
    }
    return samples;
}

// Power in each bin 0..kBins-1 of a Hann-windowed stretch centred on sample centre.
std::vector<double> spectrum(const std::vector<float>& samples, int32_t centre) {
    std::vector<double> window(kWindow);
    for (int32_t i = 0; i < kWindow; ++i) {
        const int32_t at = centre - kWindow / 2 + i;
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / kWindow);
        const bool inside = at >= 0 && at < static_cast<int32_t>(samples.size());
        window[static_cast<std::size_t>(i)] = inside ? hann * samples[static_cast<std::size_t>(at)] : 0.0;
    }
    std::vector<double> power(kBins);
    for (int32_t bin = 0; bin < kBins; ++bin) {
        double re = 0.0;
        double im = 0.0;
        for (int32_t i = 0; i < kWindow; ++i) {
            const double angle = 2.0 * std::numbers::pi * bin * i / kWindow;
            re += window[static_cast<std::size_t>(i)] * std::cos(angle);
            im -= window[static_cast<std::size_t>(i)] * std::sin(angle);
        }
        power[static_cast<std::size_t>(bin)] = re * re + im * im;
    }
    return power;
}

// Black through blue and red to yellow-white as the level rises from the floor to 0 dB.
uint32_t heat(float db) {
    const float t = std::clamp((db - kFloorDb) / -kFloorDb, 0.0f, 1.0f);
    const auto channel = [](float x) { return static_cast<uint32_t>(std::clamp(x, 0.0f, 1.0f) * 255.0f); };
    const uint32_t red = channel(3.0f * t - 1.0f);
    const uint32_t green = channel(3.0f * t - 2.0f);
    const uint32_t blue = channel(t < 0.5f ? 2.0f * t : 2.0f - 2.0f * t);
    return 0xFF000000 | red << 16 | green << 8 | blue;
}

void drawWaveform(RgbaImage& image, int32_t top, const std::vector<float>& samples) {
    const int32_t middle = top + kRowHeight / 2;
    for (int32_t x = 0; x < kPanelWidth; ++x) {
        image.setPixel(x, middle, kAxis);
    }
    const auto count = static_cast<int32_t>(samples.size());
    for (int32_t x = 0; x < kPanelWidth; ++x) {
        const int32_t from = static_cast<int32_t>(static_cast<int64_t>(x) * count / kPanelWidth);
        const int32_t to = std::max(from + 1, static_cast<int32_t>(static_cast<int64_t>(x + 1) * count / kPanelWidth));
        float low = 0.0f;
        float high = 0.0f;
        for (int32_t i = from; i < std::min(to, count); ++i) {
            low = std::min(low, samples[static_cast<std::size_t>(i)]);
            high = std::max(high, samples[static_cast<std::size_t>(i)]);
        }
        // Full scale fills the row; the sounds' peaks sit near half of it.
        const int32_t yHigh = middle - static_cast<int32_t>(high * (kRowHeight / 2 - 1));
        const int32_t yLow = middle - static_cast<int32_t>(low * (kRowHeight / 2 - 1));
        for (int32_t y = yHigh; y <= yLow; ++y) {
            image.setPixel(x, y, kWave);
        }
    }
}

void drawSpectrogram(RgbaImage& image, int32_t top, const std::vector<float>& samples) {
    const auto count = static_cast<int64_t>(samples.size());
    for (int32_t x = 0; x < kPanelWidth; ++x) {
        const auto centre = static_cast<int32_t>((2 * x + 1) * count / (2 * kPanelWidth));
        const std::vector<double> power = spectrum(samples, centre);
        for (int32_t bin = 0; bin < kBins; ++bin) {
            // Normalised so that a full-scale sine in one bin reads about 0 dB.
            const double level = power[static_cast<std::size_t>(bin)] / (kWindow * kWindow / 16.0);
            const auto db = static_cast<float>(10.0 * std::log10(level + 1e-12));
            image.setPixel(kPanelWidth + kGap + x, top + kRowHeight - 1 - bin, heat(db));
        }
    }
}

// Share of the sound's energy in the bins above 3.5 kHz, over windows across the sound.
double shareAbove3500Hz(const std::vector<float>& samples) {
    double high = 0.0;
    double all = 0.0;
    const int32_t firstHighBin = 3500 * kWindow / SampleTrack::kSampleRate;
    for (int32_t centre = 0; centre < static_cast<int32_t>(samples.size()); centre += kWindow / 2) {
        const std::vector<double> power = spectrum(samples, centre);
        for (int32_t bin = 0; bin < kBins; ++bin) {
            all += power[static_cast<std::size_t>(bin)];
            high += bin >= firstHighBin ? power[static_cast<std::size_t>(bin)] : 0.0;
        }
    }
    return all > 0.0 ? high / all : 0.0;
}

void printLevels(const char* name, const SampleTrack& track, const std::vector<float>& samples) {
    const auto first = WavWriter::toPcm(track[0]);
    const auto last = WavWriter::toPcm(track[track.length() - 1]);
    std::printf("%-7s %6.3f s  %6d samples  peak %.3f (%5.1f dBFS)  rms %.4f (%5.1f dBFS)  first %d last %d  "
                "above 3.5 kHz %.4f%%\n",
                name, track.seconds(), track.length(), track.peak(), 20.0 * std::log10(track.peak()), track.rms(),
                20.0 * std::log10(track.rms()), first, last, 100.0 * shareAbove3500Hz(samples));
}

}  // namespace
}  // namespace vornel

int main(int argc, char** argv) {
    using namespace vornel;
    if (argc != 2) {
        std::fprintf(stderr, "%s: usage: %s OUT.png\n", kProgram, kProgram);
        return 2;
    }
    const auto& sounds = GameSounds::all();
    const auto rows = static_cast<int32_t>(sounds.size());
    RgbaImage image(2 * kPanelWidth + kGap, rows * (kRowHeight + kGap), kBackground);
    for (int32_t row = 0; row < rows; ++row) {
        const GameSounds::Entry& entry = sounds[static_cast<std::size_t>(row)];
        const SampleTrack track = entry.make();
        const std::vector<float> samples = quantised(track);
        printLevels(entry.name, track, samples);
        drawWaveform(image, row * (kRowHeight + kGap), samples);
        drawSpectrogram(image, row * (kRowHeight + kGap), samples);
    }
    std::string error;
    if (!PngFile::write(argv[1], image, error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return 2;
    }
    return 0;
}
