#include <vcl.h>
#pragma hdrstop
#include "Main.h" // the form
#pragma package(smart_init)
TForm1 *Form1;
__fastcall TForm1::TForm1(TComponent* Owner) : TForm(Owner)
{
  FCount = 0;
}
void __fastcall TForm1::Button1Click(TObject *Sender)
{
  /* count */ FCount++;
  if (FCount > 3) { Label1->Caption = "Many \"clicks\""; } else { Recount(0, 1); }
}
bool TForm1::operator==(const TForm1& Other) { return FCount == Other.FCount; }
