#include "tools/ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tools {

bool WriteOggVorbis(const std::string& path, int rate, int channels, const std::vector<float>& samples,
                    float quality) {
    if (channels < 1 || rate < 1) return false;
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(fp);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 12345);
    ogg_packet hdr, hdrComm, hdrCode;
    vorbis_analysis_headerout(&vd, &vc, &hdr, &hdrComm, &hdrCode);
    ogg_stream_packetin(&os, &hdr);
    ogg_stream_packetin(&os, &hdrComm);
    ogg_stream_packetin(&os, &hdrCode);
    bool ok = true;
    ogg_page og;
    auto writePage = [&](const ogg_page& p) {
        ok = ok && std::fwrite(p.header, 1, (size_t)p.header_len, fp) == (size_t)p.header_len;
        ok = ok && std::fwrite(p.body, 1, (size_t)p.body_len, fp) == (size_t)p.body_len;
    };
    while (ogg_stream_flush(&os, &og) != 0) writePage(og);

    size_t frames = samples.size() / (size_t)channels;
    size_t done = 0;
    bool eos = false;
    while (!eos) {
        size_t n = frames - done < 1024 ? frames - done : 1024;
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buf = vorbis_analysis_buffer(&vd, (int)n);
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c) buf[c][i] = samples[(done + i) * (size_t)channels + (size_t)c];
            vorbis_analysis_wrote(&vd, (int)n);
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    writePage(og);
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(fp) == 0 && ok;
}

}  // namespace tools
