# The small example of docs/form_format.md. Show it with its values:
#   build/linux/app/vantyr-form docs/example.frm docs/example.dat

[General]
Window Title=Launch
Version=1200
FontName=arial.ttf
FontSize=14
TickSize=14
Active=1

[Input-boxes]
{Txt=Towplane; Name=tug; Type=CHR; Pos=10,184; Size=10}
{Txt=Release height (m); Name=height; Type=INT; Pos=10,154; Size=6; Arr=1}
{Txt=Wind,Calm,Light,Strong; Name=wind; Type=DDL; Pos=10,124; Size=8}
{Txt=Turn left; Name=left; Type=TCK; Pos=10,98}
{Txt=Turn right; Name=right; Type=TCK; Pos=120,98}
{Txt=Winch launch; Name=winch; Type=TCK; Pos=10,72}
{Txt=Cable (km); Name=cable; Type=FLT; Pos=34,44; Size=6; Min=0.5; Max=2; Dep=winch}

[Radio-buttons]
{Set=left,right}

[Text]
{Title=Launch settings; Pos=10,-15}

[Separators]
{Separ=10,36,220,36}

[Buttons]
{Txt=OK; Type=OK; Pos=10,8; Size=95}
{Txt=Cancel; Type=CANCEL; Pos=125,8; Size=95}
