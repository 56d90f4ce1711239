#include "RadioMemories.h"

#include "MemoryImage.h"

namespace radiosim {

std::vector<Memory> radioMemories(const Options& options) {
    std::optional<Memory> common;
    if (options.image) {
        common = loadImage(*options.image);
    }
    std::vector<Memory> memories;
    for (int number = 1; number <= options.radioCount(); ++number) {
        const auto index = static_cast<std::size_t>(number - 1);
        Memory memory;
        if (options.bench && index < options.bench->images.size()) {
            memory = loadImage(options.bench->images[index]);
        } else {
            memory = common ? *common : sampleMemory(number);
        }
        if (options.model) {
            putText(memory, kModelField, *options.model);
        }
        if (options.version) {
            putText(memory, kVersionField, *options.version);
        }
        if (options.band) {
            memory[kBandOffset] = *options.band;
        }
        memories.push_back(memory);
    }
    return memories;
}

} // namespace radiosim
