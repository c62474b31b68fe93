// Byte images of record files.
#include "tools/records/byte_image.h"

#include <cstdio>
#include <cstring>

cByteImage& cByteImage::U8(uint8_t v) {
    m_vecData.push_back(v);
    return *this;
}

cByteImage& cByteImage::U16(uint16_t v) {
    m_vecData.push_back((uint8_t)v);
    m_vecData.push_back((uint8_t)(v >> 8));
    return *this;
}

cByteImage& cByteImage::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) m_vecData.push_back((uint8_t)(v >> (8 * i)));
    return *this;
}

cByteImage& cByteImage::U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) m_vecData.push_back((uint8_t)(v >> (8 * i)));
    return *this;
}

cByteImage& cByteImage::F64(double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    return U64(u);
}

cByteImage& cByteImage::Str(const std::string& text) {
    U32((uint32_t)text.size() + 1);
    if (!text.empty()) {
        Raw(text.data(), text.size());
        U8(0);
    }
    return *this;
}

cByteImage& cByteImage::Bytes(const std::vector<uint8_t>& bytes) {
    m_vecData.insert(m_vecData.end(), bytes.begin(), bytes.end());
    return *this;
}

cByteImage& cByteImage::Raw(const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    m_vecData.insert(m_vecData.end(), p, p + n);
    return *this;
}

std::vector<uint8_t> RecordBody(cDataFile& record) {
    cRecordWriter w;
    record.Write(w);
    return w.Data();
}

std::vector<uint8_t> RecordTableImage(uint32_t version, uint32_t count, const std::vector<uint8_t>& bodies) {
    cByteImage image;
    image.U32(version).U32(count).Bytes(bodies);
    return image.Data();
}

bool WriteHostFile(const std::string& hostPath, const std::vector<uint8_t>& bytes) {
    FILE* fp = std::fopen(hostPath.c_str(), "wb");
    if (!fp) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
    return (std::fclose(fp) == 0) && ok;
}

std::vector<uint8_t> ReadHostFile(const std::string& hostPath) {
    std::vector<uint8_t> out;
    FILE* fp = std::fopen(hostPath.c_str(), "rb");
    if (!fp) return out;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(fp);
    return out;
}
