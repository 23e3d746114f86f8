//---------------------------------------------------------------------------
#ifndef MainH
#define MainH
#include <Classes.hpp>
typedef void (__closure *TNotifyEvent)(TObject* Sender);
typedef int TCount;
class TForm1 : public TForm
{
published:	// IDE-managed Components
  TButton *Button1;
  TLabel *Label1;
  void __fastcall Button1Click(TObject *Sender);
private:
  int FCount;
  CStr FTitle;
  void Recount(int From, int To = 10);
public:
  __fastcall TForm1(TComponent* Owner);
  __fastcall ~TForm1();
  bool operator==(const TForm1& Other);
  virtual int Size() = 0;
};
extern PACKAGE TForm1 *Form1;
#endif
