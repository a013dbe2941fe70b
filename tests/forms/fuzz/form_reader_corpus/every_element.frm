# Every element kind of a form
[General]
Window Title=Every element
FontSize=12
TickSize=13
Version=7

[Input-boxes]
{Txt=Count; Name=count; Type=INT; Pos=10,250; Size=5; Arr=1; Min=0; Max=100}
{Txt=Ratio; Name=ratio; Type=FLT; Pos=10,200; Size=8; TxPos=TL; Arr=1}
{Txt=Comment; Name=comment; Type=CHR; Pos=300,250; Size=10; TxPos=LA}
{Txt=Enabled; Name=enabled; Type=TCK; Pos=300,220}
{Txt=Hotkey; Name=hotkey; Type=KEY; Pos=-10,170; Size=6}
{Txt=Colour; Name=colour; Type=COL; Pos=300,170; Size=3; TxPos=TC}
{
  Txt=Input; Name=infile; Type=IFP; Ext=*.frm
  Pos=10,140; Size=12; Dep=enabled
}
{Txt=Output; Name=outfile; Type=OFP; Ext=*.log; Pos=10,110; Size=12; TxPos=250,113; Dep=-enabled}
{Txt=Folder; Name=folder; Type=FLD; Pos=10,80; Size=12}
{Txt=Mode,Fast,Slow; Name=mode; Type=DDL; Pos=-10,50; Size=6}
{Txt=A; Name=ra; Type=T; Pos=10,25}
{Txt=B; Name=rb; Type=T; Pos=60,25}

[Radio-buttons]
{Set=ra,rb}

[Text]
{Title=Every element; Pos=C50%,-20}
{Title=Choose; Pos=R390,5}

[Separators]
{Separ=5,-5,400,-5}
{Separ=5,45,400,45}

[Buttons]
{Txt=OK; Type=OK; Pos=C30%,5; Size=60}
{Txt=Cancel; Type=CANCEL; Pos=R95%,5; Size=60}
{Txt=All; Type=3; Pos=20,5; Size=40}
{Txt=Apply; Type=500; Pos=C50%,5; Size=50}
{Txt=Save; Type=1001; Pos=L60%,5; Size=50}
