#include "engine/system/Platform.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::platform {

namespace {

// Longest sample decoded into memory: ten minutes (about 100 MB in stereo).
// Effects are seconds long; the cap stops a small, highly compressed file
// from filling the memory.
constexpr std::size_t kMaxSampleFrames = std::size_t{kAudioSampleRate} * 600;

constexpr int kVorbisBigEndian = std::endian::native == std::endian::big ? 1 : 0;

struct AudioStreamDeleter {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};
using AudioStreamPtr = std::unique_ptr<SDL_AudioStream, AudioStreamDeleter>;

struct WavDeleter {
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};

struct VorbisFileDeleter {
    void operator()(OggVorbis_File* file) const {
        ov_clear(file);
        delete file;
    }
};
using VorbisFilePtr = std::unique_ptr<OggVorbis_File, VorbisFileDeleter>;

// Turns PCM of any rate, width and channel count into 16-bit values at the
// mix rate, stereo or (for samples of one channel) mono, with SDL's audio
// stream. SDL 2's converter holds the last few hundred frames back
// when it resamples and its flush does not release them, so `finish` feeds a
// little silence behind the data and `get` cuts the output at the length the
// input implies (input frames × mix rate / input rate).
class Converter {
public:
    // Null when SDL refuses the format.
    static std::unique_ptr<Converter> make(SDL_AudioFormat format, int channels, int rate,
                                           int outputChannels = 2) {
        // SDL's resampler overflows its buffer sizes on absurd rates.
        if (channels < 1 || channels > 8 || rate < kMinRate || rate > kMaxRate) {
            return nullptr;
        }
        AudioStreamPtr stream(SDL_NewAudioStream(format, static_cast<Uint8>(channels), rate,
                                                 AUDIO_S16SYS, static_cast<Uint8>(outputChannels),
                                                 static_cast<int>(kAudioSampleRate)));
        if (stream == nullptr) {
            return nullptr;
        }
        return std::unique_ptr<Converter>(new Converter(
            std::move(stream), format, channels, static_cast<std::uint32_t>(rate), outputChannels));
    }

    [[nodiscard]] int getOutputChannels() const { return outputChannels_; }

    [[nodiscard]] bool put(const void* data, std::size_t bytes) {
        inputFrames_ += bytes / frameBytes_;
        for (std::size_t offset = 0; offset < bytes; offset += kMaxPut) {
            const int count = static_cast<int>(std::min(kMaxPut, bytes - offset));
            if (SDL_AudioStreamPut(stream_.get(), static_cast<const Uint8*>(data) + offset,
                                   count) != 0) {
                return false;
            }
        }
        return true;
    }

    // Marks the end of the input.
    [[nodiscard]] bool finish() {
        if (finished_) {
            return true;
        }
        finished_ = true;
        std::vector<Uint8> silence(kPaddingFrames * frameBytes_, 0);
        if (!SDL_AUDIO_ISSIGNED(format_)) {
            // Unsigned silence is the middle value: 0x80 in the top byte.
            const std::size_t width = SDL_AUDIO_BITSIZE(format_) / 8;
            const std::size_t top = SDL_AUDIO_ISBIGENDIAN(format_) || width == 1 ? 0 : width - 1;
            for (std::size_t i = top; i < silence.size(); i += width) {
                silence[i] = 0x80;
            }
        }
        return SDL_AudioStreamPut(stream_.get(), silence.data(),
                                  static_cast<int>(silence.size())) == 0 &&
               SDL_AudioStreamFlush(stream_.get()) == 0;
    }

    // Frames ready now, at most `maxFrames`; after `finish`, never beyond the
    // length the input implies.
    [[nodiscard]] std::size_t available(std::size_t maxFrames) const {
        std::size_t frames =
            static_cast<std::size_t>(std::max(SDL_AudioStreamAvailable(stream_.get()), 0)) /
            outputFrameBytes_;
        if (finished_) {
            const std::uint64_t total = inputFrames_ * kAudioSampleRate / rate_;
            frames =
                std::min<std::uint64_t>(frames, total > outputFrames_ ? total - outputFrames_ : 0);
        }
        return std::min(frames, maxFrames);
    }

    // Copies up to `maxFrames` ready frames to `out`; returns the frames.
    [[nodiscard]] std::size_t get(std::int16_t* out, std::size_t maxFrames) {
        const std::size_t frames = available(maxFrames);
        if (frames == 0) {
            return 0;
        }
        const int got =
            SDL_AudioStreamGet(stream_.get(), out, static_cast<int>(frames * outputFrameBytes_));
        const std::size_t gotFrames =
            got <= 0 ? 0 : static_cast<std::size_t>(got) / outputFrameBytes_;
        outputFrames_ += gotFrames;
        return gotFrames;
    }

    // Forgets everything, as if the input started anew at `inputFrame`.
    void restartAt(std::uint64_t inputFrame) {
        SDL_AudioStreamClear(stream_.get());
        finished_ = false;
        inputFrames_ = inputFrame;
        outputFrames_ = inputFrame * kAudioSampleRate / rate_;
    }

    [[nodiscard]] bool isFinished() const { return finished_; }

    static constexpr int kMinRate = 1000;
    static constexpr int kMaxRate = 384000;

private:
    static constexpr std::size_t kMaxPut = 1 << 16;
    static constexpr std::size_t kPaddingFrames = 4096;
    Converter(AudioStreamPtr stream, SDL_AudioFormat format, int channels, std::uint32_t rate,
              int outputChannels)
        : stream_(std::move(stream)), format_(format),
          frameBytes_(static_cast<std::size_t>(channels) * SDL_AUDIO_BITSIZE(format) / 8),
          outputChannels_(outputChannels),
          outputFrameBytes_(static_cast<std::size_t>(outputChannels) * sizeof(std::int16_t)),
          rate_(rate) {}

    AudioStreamPtr stream_;
    SDL_AudioFormat format_;
    std::size_t frameBytes_;
    int outputChannels_;
    std::size_t outputFrameBytes_;
    std::uint32_t rate_;
    bool finished_ = false;
    std::uint64_t inputFrames_ = 0;
    std::uint64_t outputFrames_ = 0;
};

// Moves everything the converter has ready to the end of `out`.
bool drainConverter(Converter& converter, std::vector<std::int16_t>& out) {
    const auto channels = static_cast<std::size_t>(converter.getOutputChannels());
    const std::size_t limit = kMaxSampleFrames * channels;
    const std::size_t frames = converter.available(kMaxSampleFrames);
    if (out.size() + channels * frames > limit) {
        return false;
    }
    const std::size_t start = out.size();
    out.resize(start + channels * frames);
    out.resize(start + channels * converter.get(out.data() + start, frames));
    return true;
}

AudioSamplePtr finishSample(Converter& converter, std::vector<std::int16_t> values) {
    if (!converter.finish() || !drainConverter(converter, values) || values.empty()) {
        return nullptr;
    }
    return std::make_shared<const AudioSample>(std::move(values), converter.getOutputChannels());
}

// A sample of one channel stays mono; every other becomes stereo.
int sampleChannels(int sourceChannels) {
    return sourceChannels == 1 ? 1 : 2;
}

AudioSamplePtr decodeWav(std::span<const std::byte> data) {
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return nullptr;
    }
    SDL_RWops* reader = SDL_RWFromConstMem(data.data(), static_cast<int>(data.size()));
    if (reader == nullptr) {
        return nullptr;
    }
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    // The reader is closed by SDL (freesrc = 1) whatever the outcome.
    if (SDL_LoadWAV_RW(reader, 1, &spec, &buffer, &length) == nullptr) {
        return nullptr;
    }
    const std::unique_ptr<Uint8, WavDeleter> owned(buffer);
    // The length the file's PCM will have in the mix format, from its own
    // format, before any of it is converted: a long file at a low rate
    // grows many times over in the converter.
    const std::uint64_t frameBytes =
        std::uint64_t{spec.channels} * (SDL_AUDIO_BITSIZE(spec.format) / 8);
    if (frameBytes == 0 || spec.freq <= 0 ||
        length / frameBytes * kAudioSampleRate / static_cast<std::uint64_t>(spec.freq) >
            kMaxSampleFrames) {
        return nullptr;
    }
    const std::unique_ptr<Converter> converter =
        Converter::make(spec.format, spec.channels, spec.freq, sampleChannels(spec.channels));
    std::vector<std::int16_t> values;
    if (converter == nullptr || !converter->put(buffer, length) ||
        !drainConverter(*converter, values)) {
        return nullptr;
    }
    return finishSample(*converter, std::move(values));
}

// libvorbisfile reads an in-memory file through these callbacks.
struct MemoryReader {
    std::span<const std::byte> data;
    std::size_t offset = 0;
};

std::size_t memoryRead(void* destination, std::size_t size, std::size_t count, void* source) {
    auto* reader = static_cast<MemoryReader*>(source);
    if (size == 0) {
        return 0;
    }
    const std::size_t items = std::min(count, (reader->data.size() - reader->offset) / size);
    std::memcpy(destination, reader->data.data() + reader->offset, items * size);
    reader->offset += items * size;
    return items;
}

int memorySeek(void* source, ogg_int64_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(source);
    ogg_int64_t base = 0;
    switch (whence) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = static_cast<ogg_int64_t>(reader->offset);
        break;
    case SEEK_END:
        base = static_cast<ogg_int64_t>(reader->data.size());
        break;
    default:
        return -1;
    }
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(reader->data.size())) {
        return -1;
    }
    reader->offset = static_cast<std::size_t>(target);
    return 0;
}

long memoryTell(void* source) {
    return static_cast<long>(static_cast<MemoryReader*>(source)->offset);
}

// Reads up to `bytes` of 16-bit PCM at the file's own rate and channels.
// Skips holes in the data (a recoverable error); 0 at the end, -1 on a fatal
// error.
long readVorbis(OggVorbis_File* file, char* buffer, int bytes) {
    for (;;) {
        int section = 0;
        const long got = ov_read(file, buffer, bytes, kVorbisBigEndian, 2, 1, &section);
        if (got != OV_HOLE) {
            return got < 0 ? -1 : got;
        }
    }
}

AudioSamplePtr decodeVorbis(std::span<const std::byte> data) {
    MemoryReader reader{data, 0};
    const ov_callbacks callbacks{memoryRead, memorySeek, nullptr, memoryTell};
    VorbisFilePtr file(new OggVorbis_File{});
    if (ov_open_callbacks(&reader, file.get(), nullptr, 0, callbacks) != 0) {
        // A failed open leaves nothing for ov_clear.
        delete file.release();
        return nullptr;
    }
    const vorbis_info* info = ov_info(file.get(), -1);
    if (info == nullptr) {
        return nullptr;
    }
    const std::unique_ptr<Converter> converter = Converter::make(
        AUDIO_S16SYS, info->channels, static_cast<int>(info->rate), sampleChannels(info->channels));
    if (converter == nullptr) {
        return nullptr;
    }
    std::vector<std::int16_t> values;
    std::array<char, 16384> buffer{};
    for (;;) {
        const long got = readVorbis(file.get(), buffer.data(), static_cast<int>(buffer.size()));
        if (got < 0) {
            return nullptr;
        }
        if (got == 0) {
            break;
        }
        if (!converter->put(buffer.data(), static_cast<std::size_t>(got)) ||
            !drainConverter(*converter, values)) {
            return nullptr;
        }
    }
    return finishSample(*converter, std::move(values));
}

bool startsWith(std::span<const std::byte> data, const char* magic) {
    const std::size_t length = std::strlen(magic);
    return data.size() >= length && std::memcmp(data.data(), magic, length) == 0;
}

// A music file decoded as it plays: libvorbisfile reads the file, SDL's
// converter turns the file's rate and channels into the mix format.
class OggStreamSource final : public AudioStreamSource {
public:
    OggStreamSource(VorbisFilePtr file, std::unique_ptr<Converter> converter, std::uint32_t rate,
                    std::uint64_t length)
        : file_(std::move(file)), converter_(std::move(converter)), rate_(rate), length_(length) {}

    std::uint32_t getSourceRate() const override { return rate_; }
    std::uint64_t getSourceLength() const override { return length_; }

    std::size_t read(std::span<std::int16_t> out) override {
        const std::size_t wanted = out.size() / 2;
        while (!converter_->isFinished() && converter_->available(wanted) < wanted) {
            const long got =
                readVorbis(file_.get(), buffer_.data(), static_cast<int>(buffer_.size()));
            if (got <= 0 || !converter_->put(buffer_.data(), static_cast<std::size_t>(got))) {
                // The end, or a broken file: hand out what the converter holds.
                (void)converter_->finish();
            }
        }
        return converter_->get(out.data(), wanted);
    }

    bool seek(std::uint64_t sourceFrame) override {
        if (sourceFrame > length_ ||
            ov_pcm_seek(file_.get(), static_cast<ogg_int64_t>(sourceFrame)) != 0) {
            return false;
        }
        converter_->restartAt(sourceFrame);
        return true;
    }

private:
    VorbisFilePtr file_;
    std::unique_ptr<Converter> converter_;
    std::uint32_t rate_;
    std::uint64_t length_;
    std::array<char, 16384> buffer_{};
};

} // namespace

AudioSamplePtr decodeAudioSample(std::span<const std::byte> data) {
    if (startsWith(data, "OggS")) {
        return decodeVorbis(data);
    }
    if (startsWith(data, "RIFF")) {
        return decodeWav(data);
    }
    return nullptr;
}

std::unique_ptr<AudioStreamSource> openOggStreamSource(const std::string& path) {
    // Only a regular file, opened without waiting: a FIFO at the path would
    // block the opening thread until someone writes to it.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat status {};
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0 ||
        ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(descriptor);
        return nullptr;
    }
    FILE* stream = ::fdopen(descriptor, "rb");
    if (stream == nullptr) {
        ::close(descriptor);
        return nullptr;
    }
    VorbisFilePtr file(new OggVorbis_File{});
    // On success the decoder owns the stream and closes it in ov_clear.
    if (ov_open(stream, file.get(), nullptr, 0) != 0) {
        std::fclose(stream);
        delete file.release();
        return nullptr;
    }
    const vorbis_info* info = ov_info(file.get(), -1);
    const ogg_int64_t length = ov_pcm_total(file.get(), -1);
    if (info == nullptr || ov_seekable(file.get()) == 0 || length < 0 || info->rate <= 0) {
        return nullptr;
    }
    std::unique_ptr<Converter> converter =
        Converter::make(AUDIO_S16SYS, info->channels, static_cast<int>(info->rate));
    if (converter == nullptr) {
        return nullptr;
    }
    return std::make_unique<OggStreamSource>(std::move(file), std::move(converter),
                                             static_cast<std::uint32_t>(info->rate),
                                             static_cast<std::uint64_t>(length));
}

} // namespace orv::platform
