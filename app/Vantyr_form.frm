# Vantyr's dialog: one tick box per towplane, ticked when it is active.
#
# The program uses the first inputs, one per towplane, and gives each the
# towplane's name as label and name. The window takes its size from the
# inputs in use, so the boxes fill the columns one after the other, 8 to a
# column, from the top: a column is only there when it holds a towplane.
# The heading (at a fixed x, so it counts for the width) keeps the window
# wide enough for the buttons, which are centred on a quarter and three
# quarters of the window's width, whatever that width is.

[General]
Window Title=Vantyr
Version=1200
FontName=arial.ttf
FontSize=14
TickSize=14
Active=1

[Input-boxes]
{Txt=Towplane 01; Name=T01; Type=TCK; Pos=20,238}
{Txt=Towplane 02; Name=T02; Type=TCK; Pos=20,214}
{Txt=Towplane 03; Name=T03; Type=TCK; Pos=20,190}
{Txt=Towplane 04; Name=T04; Type=TCK; Pos=20,166}
{Txt=Towplane 05; Name=T05; Type=TCK; Pos=20,142}
{Txt=Towplane 06; Name=T06; Type=TCK; Pos=20,118}
{Txt=Towplane 07; Name=T07; Type=TCK; Pos=20,94}
{Txt=Towplane 08; Name=T08; Type=TCK; Pos=20,70}
{Txt=Towplane 09; Name=T09; Type=TCK; Pos=280,238}
{Txt=Towplane 10; Name=T10; Type=TCK; Pos=280,214}
{Txt=Towplane 11; Name=T11; Type=TCK; Pos=280,190}
{Txt=Towplane 12; Name=T12; Type=TCK; Pos=280,166}
{Txt=Towplane 13; Name=T13; Type=TCK; Pos=280,142}
{Txt=Towplane 14; Name=T14; Type=TCK; Pos=280,118}
{Txt=Towplane 15; Name=T15; Type=TCK; Pos=280,94}
{Txt=Towplane 16; Name=T16; Type=TCK; Pos=280,70}
{Txt=Towplane 17; Name=T17; Type=TCK; Pos=540,238}
{Txt=Towplane 18; Name=T18; Type=TCK; Pos=540,214}
{Txt=Towplane 19; Name=T19; Type=TCK; Pos=540,190}
{Txt=Towplane 20; Name=T20; Type=TCK; Pos=540,166}
{Txt=Towplane 21; Name=T21; Type=TCK; Pos=540,142}
{Txt=Towplane 22; Name=T22; Type=TCK; Pos=540,118}
{Txt=Towplane 23; Name=T23; Type=TCK; Pos=540,94}
{Txt=Towplane 24; Name=T24; Type=TCK; Pos=540,70}
{Txt=Towplane 25; Name=T25; Type=TCK; Pos=800,238}
{Txt=Towplane 26; Name=T26; Type=TCK; Pos=800,214}
{Txt=Towplane 27; Name=T27; Type=TCK; Pos=800,190}
{Txt=Towplane 28; Name=T28; Type=TCK; Pos=800,166}
{Txt=Towplane 29; Name=T29; Type=TCK; Pos=800,142}
{Txt=Towplane 30; Name=T30; Type=TCK; Pos=800,118}
{Txt=Towplane 31; Name=T31; Type=TCK; Pos=800,94}
{Txt=Towplane 32; Name=T32; Type=TCK; Pos=800,70}

[Text]
{Title=Tick the active towplanes; Pos=20,-15}

[Buttons]
{Txt=Tick all; Type=3; Pos=C25%,36; Size=80}
{Txt=Untick all; Type=2; Pos=C75%,36; Size=80}
{Txt=OK; Type=OK; Pos=C25%,10; Size=80}
{Txt=Cancel; Type=CANCEL; Pos=C75%,10; Size=80}
