// Records a sound server's source and prints every onset it hears, one line each:
//   <CLOCK_MONOTONIC ns of the first loud sample>
// An onset is a sample above the threshold after at least 30 ms below the floor.
// Usage: gf_audio_rec SOURCE

#include <pulse/error.h>
#include <pulse/simple.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: gf_audio_rec SOURCE\n");
        return 2;
    }
    constexpr int Rate = 48000;
    constexpr int Block = Rate / 400; // 2.5 ms
    constexpr int Threshold = 600, Floor = 200, QuietSamples = Rate * 30 / 1000;
    const pa_sample_spec format{PA_SAMPLE_S16LE, Rate, 1};
    pa_buffer_attr attr{};
    attr.maxlength = std::uint32_t(-1);
    attr.fragsize = Block * 2;
    int error = 0;
    pa_simple* in = pa_simple_new(nullptr, "gf_audio_rec", PA_STREAM_RECORD, argv[1], "onsets",
                                  &format, nullptr, &attr, &error);
    if (!in) {
        std::fprintf(stderr, "gf_audio_rec: %s\n", pa_strerror(error));
        return 1;
    }
    // Until a stream has asked it for a latency, a null sink renders two seconds ahead
    // and rewinds only milliseconds of that for the first stream: that stream stalls and
    // the monitor's stamps run early. A short stream of silence played out now, while the
    // recorder listens, spends that lead before the program plays.
    std::string sink = argv[1];
    if (sink.size() > 8 && sink.compare(sink.size() - 8, 8, ".monitor") == 0) {
        sink.resize(sink.size() - 8);
        pa_simple* out = pa_simple_new(nullptr, "gf_audio_rec", PA_STREAM_PLAYBACK, sink.c_str(),
                                       "settle", &format, nullptr, nullptr, &error);
        if (out) {
            const std::vector<short> silence(Rate / 5);
            pa_simple_write(out, silence.data(), silence.size() * 2, &error);
            pa_simple_drain(out, &error);
            pa_simple_free(out);
        }
        pa_simple_flush(in, &error);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::vector<short> block(Block);
    long quiet = QuietSamples;
    for (;;) {
        if (pa_simple_read(in, block.data(), block.size() * 2, &error) < 0)
            break;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        // What is still buffered was recorded after this block's last sample.
        const pa_usec_t latency = pa_simple_get_latency(in, &error);
        const long long end = now.tv_sec * 1'000'000'000LL + now.tv_nsec - latency * 1000LL;
        for (int i = 0; i < Block; ++i) {
            const int v = std::abs(int(block[std::size_t(i)]));
            if (v > Threshold && quiet >= QuietSamples) {
                std::printf("%lld\n", end - (Block - i) * 1'000'000'000LL / Rate);
                std::fflush(stdout);
            }
            quiet = v < Floor ? quiet + 1 : (v > Threshold ? 0 : quiet);
        }
    }
    pa_simple_free(in);
    return 0;
}
