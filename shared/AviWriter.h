// TAviWriter: an uncompressed AVI film (RIFF AVI 1.0 with an idx1 index) made from a list of BMP
// pictures, one frame each, every frame a key frame, with a wave file's PCM sound as its second
// stream when one is named.
#pragma once

#include <string>
#include <vector>

namespace shared {

class TAviWriter {
 public:
  // Film size in pixels; with OrgSize the first picture's size replaces them when saving.
  int Height = 200;
  int Width = 200;
  // Milliseconds per frame: the stream's scale over a rate of 1000.
  int FrameTime = 1000;
  // A picture of another size than the film is stretched onto the frame; otherwise it is drawn
  // at the top-left corner on its top-left pixel's colour.
  bool Stretch = true;
  bool OrgSize = true;
  // Bits per pixel of the frames by code: 1, 2, 3, 6 give 1, 4, 8, 24 bits.
  int PixelFormat = 2;
  // The last film saved.
  std::string FileName;

  const std::vector<std::string>& Pictures() const { return FPictures; }
  const std::string& WavFileName() const { return FWavFileName; }

  // The name with its extension replaced by ".bmp" is listed when that file exists.
  void AddPicture(const std::string& fileName);
  // Deletes the first listed file and drops it from the list; false when the list is empty.
  bool DeleteNextPicture();
  // Refuses (std::runtime_error) a name without the ".wav" extension; a name equal to the
  // current one without regard to case is ignored.
  void SetWavFileName(const std::string& name);
  // Writes the film of the listed pictures in list order, with the sound of the wave file when
  // one is named, replacing fileName only with a complete film. Raises std::runtime_error (a
  // wave file that cannot be opened or read with the reader's messages, before anything is
  // written); the work file is gone then.
  void Save(const std::string& fileName);

 private:
  std::vector<std::string> FPictures;
  std::string FWavFileName;
};

}  // namespace shared
