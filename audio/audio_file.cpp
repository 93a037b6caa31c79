// LoadAudioData: picks the decoder by extension and reports the decoded
// bytes to the collector.
#include "audio/audio_file.h"

#include "audio/ogg_reader.h"
#include "audio/wav_reader.h"
#include "runtime/lang/gc.h"

unsigned char* tvxLoadAudioFile(ZqGame* host, String path, int* length, int* channels, int* format,
                                int* hertz) {
    if (!host) return nullptr;
    std::FILE* file = host->OpenFile(path, String("rb"));
    if (!file) return nullptr;
    String lower = path.ToLower();
    unsigned char* data = nullptr;
    if (lower.EndsWith(String(".wav")))
        data = LoadWAV(file, length, channels, format, hertz);
    else if (lower.EndsWith(String(".ogg")))
        data = LoadOGG(file, length, channels, format, hertz);
    std::fclose(file);
    if (data) gc_ext_malloced(*length * *channels * *format);
    return data;
}
