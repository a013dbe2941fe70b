# A form with every element type, for the documentation's screenshot
# (scripts/screenshots.sh) and as an example for those who write forms:
#   build/linux/app/vantyr-form docs/every_element.frm docs/every_element.dat

[General]
Window Title=Every element
Version=100
FontName=arial.ttf
FontSize=14
TickSize=14
Active=1

[Input-boxes]
{Txt=Integer (INT); Name=count; Type=INT; Pos=10,202; Size=6; Arr=1}
{Txt=Real (FLT); Name=ratio; Type=FLT; Pos=10,172; Size=8; Min=0; Max=10}
{Txt=Text (CHR); Name=name; Type=CHR; Pos=10,142; Size=10}
{Txt=Tick box (TCK); Name=tick; Type=TCK; Pos=10,112}
{Txt=Key (KEY); Name=key; Type=KEY; Pos=10,82; Size=13}
{Txt=Colour (COL); Name=col; Type=COL; Pos=10,52; Size=8}
{Txt=Input file (IFP); Name=in; Type=IFP; Pos=250,202; Size=12}
{Txt=Output file (OFP); Name=out; Type=OFP; Pos=250,172; Size=12}
{Txt=Folder (FLD); Name=fld; Type=FLD; Pos=250,142; Size=12}
{Txt=List (DDL),Fast,Slow,Off; Name=mode; Type=DDL; Pos=250,112; Size=8}
{Txt=Radio; Name=red; Type=TCK; Pos=250,82}
{Txt=buttons; Name=green; Type=TCK; Pos=330,82}
{Txt=-Inactive; Name=grey; Type=CHR; Pos=250,52; Size=8}

[Radio-buttons]
{Set=red,green}

[Text]
{Title=Every element type; Pos=10,-15}

[Separators]
{Separ=10,40,462,40}

[Buttons]
{Txt=OK; Type=OK; Pos=C25%,10; Size=80}
{Txt=Apply; Type=500; Pos=C50%,10; Size=80}
{Txt=Cancel; Type=CANCEL; Pos=C75%,10; Size=80}
