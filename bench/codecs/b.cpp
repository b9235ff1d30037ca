#include <windows.h>
#include <stdio.h>
#include "codecs/ximage.h"
#include "codecs/xmemfile.h"
int main(){
  CxImage img(1600, 1200, 24);
  for (int y=0;y<1200;y++) for(int x=0;x<1600;x++) img.SetPixelColor(x,y,RGB((x*7+y)&255,(y*3)&255,(x^y)&255));
  DWORD t=GetTickCount();
  CxImage a(img); a.DecreaseBpp(8,false); printf("decrease8 %lu ms\n",(unsigned long)(GetTickCount()-t));
  t=GetTickCount(); CxImage b(img); b.DecreaseBpp(8,true); printf("decrease8 diffusion %lu ms\n",(unsigned long)(GetTickCount()-t));
  t=GetTickCount(); CxImage c(img); c.DecreaseBpp(1,true); printf("decrease1 diffusion %lu ms\n",(unsigned long)(GetTickCount()-t));
  t=GetTickCount(); CxImage d(img); d.RotateLeft(); printf("rotate %lu ms\n",(unsigned long)(GetTickCount()-t));
  t=GetTickCount(); CxImage e(img); e.Rotate180(); printf("rotate180 %lu ms\n",(unsigned long)(GetTickCount()-t));
  t=GetTickCount(); CxImage f(img); f.Mirror(); f.Flip(); printf("mirror+flip %lu ms\n",(unsigned long)(GetTickCount()-t));
  CxMemFile m; m.Open(); img.Encode(&m, 1);
  t=GetTickCount(); CxImage g; g.Decode(m.GetBuffer(false), m.Size(), 0); printf("decode bmp %lu ms\n",(unsigned long)(GetTickCount()-t));
  CxImage h(a); t=GetTickCount(); h.RotateRight(); printf("rotate 8bit %lu ms\n",(unsigned long)(GetTickCount()-t));
  return 0;
}
